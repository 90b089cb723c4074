#pragma once

#include "frame_scanner.h"

#include <poll.h>
#include <unistd.h>

#include <vector>

// Reads from fd until `count` frames have arrived or the deadline passes (only a failing test
// ever reaches the deadline).
inline std::vector<Frame> readFrames(int fd, std::size_t count, int deadlineMs = 5000) {
    FrameScanner scanner;
    std::vector<Frame> frames;
    for (int waited = 0; frames.size() < count && waited < deadlineMs; waited += 10) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0) {
            continue;
        }
        char buffer[512];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            const auto result = scanner.feed(QByteArray(buffer, n));
            frames.insert(frames.end(), result.frames.begin(), result.frames.end());
        }
    }
    return frames;
}
