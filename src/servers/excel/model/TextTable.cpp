#include "TextTable.h"

#include "WorkbookError.h"

#include <algorithm>
#include <cstring>

namespace velloran::workbook {

namespace {

// The most UTF-8 bytes that kMaxUnits code units can take.
constexpr std::size_t kMaxUtf8Bytes = TextTable::kMaxUnits * 3;
// Texts are kept in memory up to this many bytes before they are spilled;
// a placement that holds texts longer has them let go earlier.
constexpr std::size_t kHeldTextBytes = 384 * 1024;
// Stored texts are passed on in stretches of this many bytes at most.
constexpr std::size_t kStretchBytes = 1024 * 1024;
// A reader's windows onto the texts: the one it goes through in order,
// small enough to stay in the processor's cache beside what the writer
// makes of the texts, and the one for texts asked for again.
constexpr std::size_t kInOrderWindow = 256 * 1024;
constexpr std::size_t kAsideWindow = 16 * 1024;
// Kept positions are held in memory, and read back, this much at a time.
constexpr std::size_t kHeldPositionBytes = 64 * 1024;

static_assert(sizeof(StringHeader) + 2 * TextTable::kMaxUnits <= kHeldTextBytes);

[[noreturn]] void throwTooLong(std::size_t units) {
    throw workbookFailure("A cell text of " + std::to_string(units) +
                          " characters is longer than a cell holds (32767 characters)");
}

std::uint64_t mixed(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xFF51AFD7ED558CCDull;
    value ^= value >> 33;
    value *= 0xC4CEB9FE1A85EC53ull;
    return value ^ (value >> 33);
}

std::uint64_t wordAt(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// Whether the text stored at `stored` is `text`; equal headers mean equal
// lengths.
bool isStored(const char* stored, const CompactText& text) {
    const StringHeader header = stringHeader(text.encoding);
    return std::memcmp(stored, header.data(), header.size()) == 0 &&
           std::memcmp(stored + header.size(), text.bytes.data(), text.bytes.size()) == 0;
}

}  // namespace

// A hash of `bytes` for the cache, eight bytes at a time; the last word
// overlaps the one before it when the size is not a multiple of eight. The
// steps only multiply, the final mix spreads the result: the cache needs a
// fast hash more than a perfect one, as equal hashes are compared anyway.
// The words hashed also tell whether the text is ASCII.
TextTable::HashedText TextTable::hashed(std::string_view bytes) {
    std::uint64_t hash = bytes.size(), seen = 0;
    auto add = [&](std::uint64_t word) {
        hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
        seen |= word;
    };
    if (bytes.size() < 8) {
        for (char c : bytes) add(static_cast<unsigned char>(c));
    } else {
        for (std::size_t at = 0; at + 8 < bytes.size(); at += 8) add(wordAt(bytes.data() + at));
        add(wordAt(bytes.data() + bytes.size() - 8));
    }
    return {bytes, mixed(hash), (seen & 0x8080808080808080ull) == 0};
}

TextTable::TextTable(std::unique_ptr<TextPlacement> placement)
    : placement_(std::move(placement)), log_(kHeldTextBytes), kept_(kHeldPositionBytes) {}

void TextTable::checkThoroughly(std::string_view utf8) {
    if (utf8.size() > kMaxUtf8Bytes) throwTooLong(utf8.size());
    EncodedText text = measureText(utf8);
    if (text.units > kMaxUnits) throwTooLong(text.units);
}

CompactText TextTable::encode(const HashedText& hashed) {
    const std::string_view utf8 = hashed.utf8;
    if (hashed.ascii && utf8.size() <= kMaxUnits) return {{static_cast<std::uint32_t>(utf8.size()), false}, utf8};
    if (utf8.size() > kMaxUtf8Bytes) throwTooLong(utf8.size());
    CompactText text = compactCharacters(utf8, buffer_);
    if (text.encoding.units > kMaxUnits) throwTooLong(text.encoding.units);
    return text;
}

std::size_t TextTable::heldBytes() const {
    return log_.heldBytes() + kept_.heldBytes() + recent_.size() * sizeof(Recent) + buffer_.capacity();
}

std::uint32_t TextTable::add(const HashedText& hashedText) {
    CompactText text = encode(hashedText);
    std::uint64_t hash = hashedText.hash;  // equal texts encode alike
    Recent& cached = recent_[hash & (kCacheSize - 1)];
    auto shortHash = static_cast<std::uint32_t>(hash >> 32);
    if (cached.hash == shortHash) {
        const char* stored = log_.held(cached.position);
        if (stored && isStored(stored, text)) return cached.index;
    }
    if (size_ >= kMaxTexts) throw workbookFailure("The workbook holds more different texts than it can take");
    const StringHeader header = stringHeader(text.encoding);
    const bool shared = place(text);
    char* at = log_.reserve(header.size() + text.bytes.size());
    std::uint64_t position = log_.size();
    std::memcpy(at, header.data(), header.size());
    std::memcpy(at + header.size(), text.bytes.data(), text.bytes.size());
    log_.commit(header.size() + text.bytes.size());
    if (size_ % kKeptEvery == 0) kept_.append({reinterpret_cast<const char*>(&position), sizeof position});
    if (shared) cached = {position, shortHash, size_};
    return size_++;
}

// Whether the placement lets the text be shared; when it let go of the
// texts placed before, the log spills its copies of them, so that the log
// holds just the texts the placement still shares.
bool TextTable::place(const CompactText& text) {
    if (!placement_) return true;
    const bool shared = placement_->place(text);
    if (placement_->releases() != releases_) {
        releases_ = placement_->releases();
        log_.spill();
    }
    return shared;
}

// Where the last whole text of a buffer ends is found from the last kept
// position in it, not by a walk through every text.
void TextTable::forEachStretch(const std::function<void(std::string_view stored)>& visit) const {
    // Left uninitialised: every byte used is read into it first.
    std::unique_ptr<char[]> buffer(new char[kStretchBytes]);
    LogWindow kept(kept_, kHeldPositionBytes);
    const std::uint64_t keptCount = kept_.size() / sizeof(std::uint64_t);
    auto keptAt = [&](std::uint64_t index) {
        std::uint64_t position;
        std::memcpy(&position, kept.at(index * sizeof position, sizeof position), sizeof position);
        return position;
    };
    std::uint64_t lastKept = 0;
    for (std::uint64_t position = 0; position < log_.size();) {
        auto size = static_cast<std::size_t>(std::min<std::uint64_t>(kStretchBytes, log_.size() - position));
        log_.read(position, buffer.get(), size);
        while (lastKept + 1 < keptCount && keptAt(lastKept + 1) <= position + size) ++lastKept;
        std::size_t whole = static_cast<std::size_t>(std::max(keptAt(lastKept), position) - position);
        while (whole + sizeof(StringHeader) <= size) {
            std::size_t next = whole + storedSize(storedText(buffer.get() + whole));
            if (next > size) break;
            whole = next;
        }
        visit({buffer.get(), whole});
        position += whole;
    }
}

void TextTable::forEach(const std::function<void(const CompactText&)>& visit) const {
    forEachStretch([&](std::string_view stored) {
        for (std::size_t at = 0; at < stored.size();) {
            CompactText text = storedText(stored.data() + at);
            visit(text);
            at += storedSize(text);
        }
    });
}

TextReader::TextReader(const TextTable& table)
    : table_(table),
      inOrder_(table.log_, kInOrderWindow),
      aside_(table.log_, kAsideWindow),
      kept_(table.kept_, kHeldPositionBytes),
      again_(kAgainTexts) {}

std::string_view TextReader::utf8(std::uint32_t index) {
    CompactText text = stored(index);
    if (!text.encoding.wide && isAscii(text.bytes)) return text.bytes;
    scratch_.clear();
    appendUtf8(scratch_, text);
    return scratch_;
}

CompactText TextReader::storedAgain(std::uint32_t index) {
    Again& again = again_[index & (kAgainTexts - 1)];
    if (again.index != index) {
        const char* at = jumpTo(index);
        again.stored.assign(at, storedSize(storedText(at)));
        again.index = index;
    }
    return storedText(again.stored.data());
}

// From the kept position at or before `index`, through the texts between;
// the stored text there, valid until the next jump.
const char* TextReader::jumpTo(std::uint32_t index) {
    std::uint64_t position;
    std::memcpy(&position, kept_.at(std::uint64_t{index / TextTable::kKeptEvery} * sizeof position, sizeof position),
                sizeof position);
    for (std::uint32_t at = index / TextTable::kKeptEvery * TextTable::kKeptEvery;; ++at) {
        CompactText text = storedText(aside_.at(position, sizeof(StringHeader)));
        if (at == index) return aside_.at(position, storedSize(text));
        position += storedSize(text);
    }
}

}  // namespace velloran::workbook
