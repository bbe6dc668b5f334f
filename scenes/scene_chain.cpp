#include "scenes/scene_chain.h"

#include "scenes/scenes.h"

// Whose turn it is lives in the scenes' own latches; the chain keeps no state.
const SceneEntry SceneChain[3] = {OpeningLogoScene, MainSectionScene, CreditsScene};

int RunSceneChain() {
    for (int i = 0; i < 3; ++i) {
        if (SceneChain[i]()) {
            return i + 1;
        }
    }
    return 0;
}
