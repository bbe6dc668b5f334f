#include "scenes/scene_chain.h"

#include "scenes/scenes.h"

// Whose turn it is lives in the scenes' own latches; the chain keeps no state.
const SceneEntry SceneChain[3] = {OpeningLogoScene, MainSectionScene, CreditsScene};

bool RunSceneChain() {
    for (SceneEntry scene : SceneChain) {
        if (scene()) {
            return true;
        }
    }
    return false;
}
