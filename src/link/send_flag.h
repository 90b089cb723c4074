#pragma once

#include <cstdint>

namespace talvik::link {

// How a queued command is written; the number also travels as the frame's channel byte.
enum class SendFlag : std::uint8_t {
    WriteAndForget = 1,   // written, and the queue goes on at once
    AwaitReply = 2,       // the queue waits for the reply (time-out and retries apply)
    ForgetOnChannel3 = 3, // written and forgotten, on the channel the controller keeps apart
};

} // namespace talvik::link
