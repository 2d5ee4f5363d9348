#pragma once
// The libraries' diagnostics held back from a run without --verbose, and
// how many of them --verbose would really add to the printed error: a
// diagnostic that only repeats the error (or its detail) is no news.
#include <QString>

#include <exception>
#include <mutex>
#include <vector>

namespace velloran::batch {

class HeldDiagnostics {
public:
    // Keeps the message (the first kKept in full, the rest counted).
    void hold(const QString& message);
    int count() const;
    // How many held diagnostics --verbose would show beyond `error`, when
    // given, as printed with --verbose, plus one for the detail of the
    // error itself when the printed error leaves it out.
    int hiddenBeside(const std::exception* error) const;

    static constexpr std::size_t kKept = 64;

private:
    mutable std::mutex guard_;
    std::vector<QString> kept_;
    int count_ = 0;
};

}  // namespace velloran::batch
