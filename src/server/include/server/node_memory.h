// What the frame remembers of the scene's nodes between frames, as the
// node's state holds it: the state owns it, the frame alone makes it and
// knows its type (simulation/node_cache.h), so the state needs nothing of
// the engine or the frame.
#pragma once

namespace warfield {

class NodeMemory {
public:
    virtual ~NodeMemory() = default;
};

}  // namespace warfield
