#pragma once
// Bytes in and out of the batch command: a file descriptor or a string, read and written in
// blocks so that a list of any length passes through in flat memory. A failed read or write is
// reported with the system's reason and ends the run; it is never taken for the end of the
// input or for success.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace quarvell::batch {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes into `buffer`; 0 at the end, -1 after a failure (see error()).
    virtual std::ptrdiff_t read(char* buffer, std::size_t size) = 0;
    virtual std::string error() const { return {}; }
};

class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // All of the bytes or false (see error()).
    virtual bool write(std::string_view bytes) = 0;
    // The end of the output, where a failed write can still show (closing a file).
    virtual bool finish() { return true; }
    virtual std::string error() const { return {}; }
};

class FdSource : public ByteSource {
  public:
    explicit FdSource(int fd) : fd_(fd) {}
    std::ptrdiff_t read(char* buffer, std::size_t size) override;
    std::string error() const override { return error_; }

  private:
    int fd_;
    std::string error_;
};

class FdSink : public ByteSink {
  public:
    // `closes`: the descriptor is the sink's own and is closed (and checked) by finish().
    FdSink(int fd, bool closes) : fd_(fd), closes_(closes) {}
    bool write(std::string_view bytes) override;
    bool finish() override;
    std::string error() const override { return error_; }

  private:
    int fd_;
    bool closes_;
    std::string error_;
};

class StringSource : public ByteSource {
  public:
    // `chunk` bounds each read, so that tests can cut the input anywhere.
    explicit StringSource(std::string text, std::size_t chunk = 1 << 16)
        : text_(std::move(text)), chunk_(chunk) {}
    std::ptrdiff_t read(char* buffer, std::size_t size) override;

  private:
    std::string text_;
    std::size_t chunk_;
    std::size_t at_ = 0;
};

class StringSink : public ByteSink {
  public:
    bool write(std::string_view bytes) override {
        text.append(bytes);
        return true;
    }
    std::string text;
};

// Collects output and hands it to a sink in large blocks; after a failed write it keeps
// failing, so the caller can check once per row. Writers ask for room for the most a row can
// take and write into it directly, with no check per byte.
class OutputBuffer {
  public:
    explicit OutputBuffer(ByteSink& sink) : sink_(sink) { grow(kBlock + kSlack); }
    // Where at least `bytes` more bytes can be written; end() what was written.
    char* room(std::size_t bytes) {
        if (capacity_ - used_ < bytes) {
            grow(used_ + bytes);
        }
        return data_.get() + used_;
    }
    void end(const char* at) { used_ = static_cast<std::size_t>(at - data_.get()); }
    // Passes the text on once it has grown to a block.
    bool flushIfFull() { return used_ < kBlock ? ok_ : flush(); }
    bool flush();
    // Flushes and ends the output.
    bool finish() { return flush() && (ok_ = sink_.finish()); }
    bool ok() const { return ok_; }
    std::string error() const { return sink_.error(); }

  private:
    static constexpr std::size_t kBlock = 1 << 16;
    static constexpr std::size_t kSlack = 1 << 14;  // so that a usual row fits without growing
    void grow(std::size_t capacity);

    ByteSink& sink_;
    std::unique_ptr<char[]> data_;
    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
    bool ok_ = true;
};

}  // namespace quarvell::batch
