// The three scenes in the order a frame offers them the turn.
#pragma once

using SceneEntry = int (*)();

extern const SceneEntry SceneChain[3];

// Offers the frame to each scene in turn; true when one of them drew it,
// false when every scene has passed (the presentation is over).
bool RunSceneChain();
