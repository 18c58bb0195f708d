#include "session/LoadedSet.h"

LoadedSet LoadSet(SetLayer layer)
{
    LoadedSet set;
    set.layer = std::move(layer);
    const SetLayer& top = set.layer;
    if (!top.archive)
    {
        set.loaded = set.scene.LoadScene(top.path, top.files.get());
    }
    else
    {
        set.scene.LoadSceneFromBytes(top.MemberBytes(), *top.files);
        set.loaded = true;
    }
    return set;
}
