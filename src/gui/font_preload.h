#pragma once

#include <thread>

namespace soramine::gui {

// Reads the system's font configuration (many small XML files, several milliseconds) on a
// thread of its own from the program's first moment, while the main thread sets up the
// application and reads the settings; the first text measured or drawn needs it, so wait()
// comes before that. Without a thread to be had, the configuration is read when first needed.
class FontConfigPreload {
  public:
    FontConfigPreload();
    ~FontConfigPreload() { wait(); }
    FontConfigPreload(const FontConfigPreload&) = delete;
    FontConfigPreload& operator=(const FontConfigPreload&) = delete;

    void wait() {
        if (thread_.joinable())
            thread_.join();
    }

  private:
    std::thread thread_;
};

}  // namespace soramine::gui
