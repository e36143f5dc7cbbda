// SPDX-License-Identifier: GPL-3.0-or-later
// A small tmpfs filled to the last byte, in a mount namespace of this test
// process (and of the programs it starts) only. Empty when it is mounted,
// else why none can be made here (no root, no namespaces), for the test to
// skip with. A file `name` with `bytes` is written before the filling, so a
// test can see that a failed save leaves what was there as it was.
#pragma once

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace kt {

inline std::string MountFullFilesystem(const std::filesystem::path& at, const std::string& name = {},
                                       const std::string& bytes = {})
{
    std::filesystem::create_directories(at);
    if (::unshare(CLONE_NEWNS) != 0) return std::string("no mount namespace: ") + std::strerror(errno);
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", at.c_str(), "tmpfs", 0, "size=64k") != 0)
        return std::string("cannot mount a tmpfs: ") + std::strerror(errno);
    if (!name.empty()) std::ofstream(at / name, std::ios::binary) << bytes;
    std::ofstream fill(at / "fill", std::ios::binary);
    const std::string block(4096, 'x');
    while (fill.write(block.data(), std::streamsize(block.size())) && fill.flush()) {
    }
    return {};
}

}  // namespace kt
