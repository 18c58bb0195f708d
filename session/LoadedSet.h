#pragma once

#include "scene/Scene.h"
#include "session/SetLayer.h"

/// A set read and decoded, its code not started: what a SetSession takes over with Adopt.
struct LoadedSet
{
    SetLayer layer;
    Scene scene;
    /// False when the configuration could not be read (the scene is then empty).
    bool loaded = false;
};

/// Loads top's configuration into scene, and the files it names from files. False when the
/// configuration could not be read (the scene is then empty).
bool LoadLayer(Scene& scene, const SetLayer& top, FileSource& files);

/// Reads layer's configuration and every file it names into a scene of its own. Touches
/// nothing shared, so it may run on any thread; problems stay in the scene until adopted.
LoadedSet LoadSet(SetLayer layer);
