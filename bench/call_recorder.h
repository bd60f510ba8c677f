// Records the host calls a frame makes, so that the same sequence can be
// replayed against the host without any of our code around it. The ratio of
// the two times is what our code adds on top of the engine work.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "fake_host.h"

namespace warfield::bench {

using test::FakeHost;
using Op = test::HostOp;

struct RecordedCall {
    union {
        ObjectHandle object;
        uint64_t instance_id;
    };
    float x;
    float y;
    Op op;
    uint8_t arg;  // the ChildPath or ScriptMethod
};

// Runs `frames` with the host observed and logging (it is bare while frames
// are timed), then appends the calls they made to `out`, with the handles
// and values they were made with, and leaves the host bare.
void start_recording(FakeHost& host);
void finish_recording(FakeHost& host, std::vector<RecordedCall>& out);
template <class Frames>
void record_calls(FakeHost& host, std::vector<RecordedCall>& out, Frames&& frames) {
    start_recording(host);
    frames();
    finish_recording(host, out);
}

// Makes the recorded calls, in order, with their recorded arguments. Results
// are folded into the return value so that none can be optimised away.
uint64_t replay(Host& host, std::span<const RecordedCall> calls);

// Calls of each Op in the sequence.
std::vector<uint64_t> count_by_op(std::span<const RecordedCall> calls);

}  // namespace warfield::bench
