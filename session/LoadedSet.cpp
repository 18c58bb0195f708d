#include "session/LoadedSet.h"

bool LoadLayer(Scene& scene, const SetLayer& top, FileSource& files)
{
    if (!top.archive)
        return scene.LoadScene(top.path, &files);
    scene.LoadSceneFromBytes(top.MemberBytes(), files);
    return true;
}

LoadedSet LoadSet(SetLayer layer)
{
    LoadedSet set;
    set.layer = std::move(layer);
    set.loaded = LoadLayer(set.scene, set.layer, *set.layer.files);
    return set;
}
