// Bytes made on one thread and written on another: in order, and a failure
// on either side ends both without a hang.
#include "ByteRelay.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

using velloran::workbook::biff::ByteRelay;
using velloran::workbook::ByteSink;

namespace {

class Collected : public ByteSink {
public:
    explicit Collected(std::size_t failAfter = SIZE_MAX) : failAfter_(failAfter) {}
    void write(const char* data, std::size_t size) override {
        if (bytes.size() + size > failAfter_) throw std::runtime_error("disk full");
        bytes.append(data, size);
    }
    std::string bytes;

private:
    std::size_t failAfter_;
};

// 4 MB in pieces of uneven sizes, more than the relay's buffers hold.
std::string madeBytes() {
    std::string bytes;
    for (std::size_t i = 0; bytes.size() < 4 * 1024 * 1024; ++i) bytes.push_back(static_cast<char>(i * 31 + i / 977));
    return bytes;
}

void make(ByteRelay& relay, const std::string& bytes, std::size_t failAt = SIZE_MAX) {
    try {
        for (std::size_t at = 0, piece = 1; at < bytes.size(); at += piece, piece = piece * 7 % 300001 + 1) {
            if (at >= failAt) throw std::runtime_error("the sheet could not be made");
            relay.write(bytes.data() + at, std::min(piece, bytes.size() - at));
        }
        relay.finish();
    } catch (...) {
        relay.finish(std::current_exception());
    }
}

}  // namespace

TEST(ByteRelay, PassesEveryByteInOrder) {
    const std::string bytes = madeBytes();
    ByteRelay relay;
    std::thread maker([&] { make(relay, bytes); });
    Collected sink;
    relay.drainInto(sink);
    maker.join();
    EXPECT_TRUE(sink.bytes == bytes);
}

TEST(ByteRelay, AFailureOfTheMakerReachesTheWriter) {
    const std::string bytes = madeBytes();
    ByteRelay relay;
    std::thread maker([&] { make(relay, bytes, 2 * 1024 * 1024); });
    Collected sink;
    EXPECT_THROW(
        {
            try {
                relay.drainInto(sink);
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "the sheet could not be made");
                throw;
            }
        },
        std::runtime_error);
    maker.join();
    EXPECT_TRUE(bytes.compare(0, sink.bytes.size(), sink.bytes) == 0);
}

TEST(ByteRelay, AWriterThatGivesUpStopsTheMaker) {
    const std::string bytes = madeBytes();
    ByteRelay relay;
    std::thread maker([&] { make(relay, bytes); });
    Collected failing(1024 * 1024);
    EXPECT_THROW(relay.drainInto(failing), std::runtime_error);
    relay.cancel();
    maker.join();  // returns: the maker's next write was refused
}
