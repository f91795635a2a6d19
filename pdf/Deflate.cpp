#include "pdf/Deflate.h"

#include <zlib.h>

namespace pdf {

namespace {

// One zlib stream, reset for each buffer: its tables are allocated once, not once
// a page.
class Deflater {
public:
    explicit Deflater(int level) { ready_ = deflateInit(&stream_, level) == Z_OK; }
    ~Deflater()
    {
        if (ready_)
            deflateEnd(&stream_);
    }
    Deflater(const Deflater &) = delete;
    Deflater &operator=(const Deflater &) = delete;

    std::optional<std::string> pack(std::string_view bytes)
    {
        if (!ready_ || deflateReset(&stream_) != Z_OK)
            return std::nullopt;
        std::string packed(deflateBound(&stream_, uLong(bytes.size())), '\0');
        stream_.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
        stream_.avail_in = uInt(bytes.size());
        stream_.next_out = reinterpret_cast<Bytef *>(packed.data());
        stream_.avail_out = uInt(packed.size());
        if (deflate(&stream_, Z_FINISH) != Z_STREAM_END || stream_.total_out >= bytes.size())
            return std::nullopt;
        packed.resize(stream_.total_out);
        return packed;
    }

private:
    z_stream stream_{};
    bool ready_ = false;
};

}  // namespace

std::optional<std::string> deflated(std::string_view bytes, int level)
{
    return Deflater(level).pack(bytes);
}

DeflateAhead::DeflateAhead(int level)
    : level_(level)
    , thread_([this] { run(); })
{
}

DeflateAhead::~DeflateAhead()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void DeflateAhead::start(std::vector<std::string> batch)
{
    {
        const std::lock_guard lock(mutex_);
        input_ = std::move(batch);
        waiting_ = true;
        working_ = true;
    }
    changed_.notify_all();
}

std::vector<DeflateAhead::Result> DeflateAhead::take()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !working_; });
    return std::move(output_);
}

void DeflateAhead::run()
{
    Deflater deflater(level_);
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || waiting_; });
        if (stopping_)
            return;
        std::vector<std::string> input = std::move(input_);
        waiting_ = false;
        lock.unlock();
        std::vector<Result> results;
        results.reserve(input.size());
        for (std::string &bytes : input) {
            std::optional<std::string> packed = deflater.pack(bytes);
            results.push_back(packed ? Result{std::move(*packed), true} : Result{std::move(bytes), false});
        }
        lock.lock();
        output_ = std::move(results);
        working_ = false;
        changed_.notify_all();
    }
}

}  // namespace pdf
