#pragma once

// Frees a reader stuck opening a named pipe, so that a test of a hang fails
// instead of hanging: every `periodMs` it opens the pipe for writing (which
// completes a waiting reader's open) and closes it again (the reader then
// sees the end of the file). A step that took kStuckMs or more was waiting for
// the rescue: the period is long enough that no busy machine gets near it.

#include <QByteArray>
#include <atomic>
#include <chrono>
#include <thread>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace navcal::test {

class PipeRescuer {
  public:
    static constexpr int kPeriodMs = 10000;
    static constexpr int kStuckMs = 8000;
    explicit PipeRescuer(QByteArray pipePath, int periodMs = kPeriodMs)
        : m_thread([this, path = std::move(pipePath), periodMs] {
              while (!m_stop) {
                  for (int waited = 0; waited < periodMs && !m_stop; waited += 10)
                      std::this_thread::sleep_for(std::chrono::milliseconds(10));
#ifdef Q_OS_UNIX
                  const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                  if (fd >= 0)
                      ::close(fd);
#else
                  (void)path; // Windows has no named pipes in its file system
#endif
              }
          }) {
    }
    ~PipeRescuer() {
        m_stop = true;
        m_thread.join();
    }
    PipeRescuer(const PipeRescuer&) = delete;
    PipeRescuer& operator=(const PipeRescuer&) = delete;

  private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace navcal::test
