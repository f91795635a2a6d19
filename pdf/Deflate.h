#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace pdf {

// `bytes` compressed for a stream with /Filter /FlateDecode (zlib's format) at
// zlib's `level`; nothing when compressing fails or would not make it smaller.
std::optional<std::string> deflated(std::string_view bytes, int level = -1);

// Compresses one batch of buffers at a time on a thread of its own, while its
// caller makes the next: a document's pages cost the time of making them, not of
// making and compressing them one after the other. Batches, not single buffers,
// keep the hand-overs between the threads few.
class DeflateAhead {
public:
    explicit DeflateAhead(int level);
    ~DeflateAhead();
    DeflateAhead(const DeflateAhead &) = delete;
    DeflateAhead &operator=(const DeflateAhead &) = delete;

    struct Result {
        std::string bytes;  // compressed, or as they were given
        bool compressed = false;
    };
    // Starts compressing `batch`; the results of the one before must have been taken.
    void start(std::vector<std::string> batch);
    // Waits for the results of the last start(), in its order: each buffer
    // compressed, or given back as it was where compressing would not make it smaller.
    std::vector<Result> take();

private:
    void run();

    const int level_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> input_;
    std::vector<Result> output_;
    bool waiting_ = false;  // input_ is given and not yet taken up
    bool working_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last: it starts when everything it reads is made
};

}  // namespace pdf
