#pragma once

#include <thread>

// Fontconfig reads its configuration and font caches the first time any text is laid out: about 4 ms
// the first window would otherwise wait for. Started before the application object, the reading
// overlaps the opening of the display on the other core; fontconfig takes whichever set-up finishes
// first, so text needed earlier than expected costs only the same reading done twice.
class FontconfigWarmUp {
public:
    FontconfigWarmUp();
    ~FontconfigWarmUp();
    FontconfigWarmUp(const FontconfigWarmUp&) = delete;
    FontconfigWarmUp& operator=(const FontconfigWarmUp&) = delete;

    // Waits for the reading to end; from then on every font look-up finds it done.
    void finish();

private:
    std::thread m_thread;
};
