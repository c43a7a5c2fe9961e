// Renders registered forms to PNG files without a display, so that anyone
// can look at a form: each is made as the program makes it (read from its
// description), shown under Qt's offscreen platform on a simulated desktop,
// and grabbed. The snapshot tool in tools/ drives it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wt {

class TSnapshotSession {
public:
    // Starts the offscreen application and the simulated desktop (settings
    // in a temporary directory); failures the forms report go to stderr.
    TSnapshotSession(int& argc, char** argv);
    ~TSnapshotSession();
    TSnapshotSession(const TSnapshotSession&) = delete;
    TSnapshotSession& operator=(const TSnapshotSession&) = delete;

    // The class names of the registered forms.
    std::vector<std::string> FormNames() const;
    // Makes, shows and grabs one form, first letting atMs milliseconds of the
    // simulated clock pass (its timers run); false with the reason in error.
    // On success, what was written ("TfrmOops -> out.png (324x160)") in error.
    bool Render(const std::string& formClass, const std::string& pngFile, std::int64_t atMs,
                std::string& message);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace wt
