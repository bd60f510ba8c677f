// The frame with either way of finding nodes: the shipped one (remembered)
// or the reference that looks every node up by path, which only tests and the
// fuzzers build, to compare the two.
#pragma once

#include "server/warfield.h"
#include "port/host.h"
#include "simulation/node_cache.h"

namespace warfield::test {

void ready(Warfield& warfield, Host& host, NodeLookup lookup);
void physics_process(Warfield& warfield, Host& host, double delta, NodeLookup lookup);

}  // namespace warfield::test
