#pragma once

namespace navcal::platform {

// While it lives, what is written on the standard error stream goes nowhere:
// the libraries' notes (a font cache that cannot be written, say) are not
// navcal's one line. The stream is as it was again when it ends.
class StderrAside {
  public:
    StderrAside();
    ~StderrAside();
    StderrAside(const StderrAside&) = delete;
    StderrAside& operator=(const StderrAside&) = delete;

  private:
    int m_saved = -1;
};

} // namespace navcal::platform
