#include "batch/io.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quarvell::batch {

std::ptrdiff_t FdSource::read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0) {
            return n;
        }
        if (errno != EINTR) {
            error_ = std::strerror(errno);
            return -1;
        }
    }
}

bool FdSink::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error_ = std::strerror(errno);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Some file systems (NFS) report a failed write only when the file is closed.
bool FdSink::finish() {
    if (closes_) {
        closes_ = false;
        if (::close(fd_) != 0) {
            error_ = std::strerror(errno);
            return false;
        }
    }
    return true;
}

std::ptrdiff_t StringSource::read(char* buffer, std::size_t size) {
    const std::size_t n = std::min({size, chunk_, text_.size() - at_});
    std::memcpy(buffer, text_.data() + at_, n);
    at_ += n;
    return static_cast<std::ptrdiff_t>(n);
}

bool OutputBuffer::flush() {
    if (ok_ && used_ > 0) {
        ok_ = sink_.write(std::string_view(data_.get(), used_));
    }
    used_ = 0;
    return ok_;
}

// Only a row longer than the slack (long texts carried over) needs more than the block.
void OutputBuffer::grow(std::size_t capacity) {
    capacity = std::max(capacity, 2 * capacity_);
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (used_ > 0) {
        std::memcpy(data.get(), data_.get(), used_);
    }
    data_ = std::move(data);
    capacity_ = capacity;
}

}  // namespace quarvell::batch
