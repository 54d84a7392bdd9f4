// What the X server itself takes to hand over the whole screen: the root window read into client
// memory with XGetImage and, where the server offers shared memory, XShmGetImage. A native Linux
// program (not Wine), built by bench/latency.sh with the host compiler and run on the display the
// Wine programs use.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kRuns = 25;

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
struct ImageDestroyer {
  void operator()(XImage* image) const { XDestroyImage(image); }
};
using UniqueImage = std::unique_ptr<XImage, ImageDestroyer>;

// A shared memory segment attached here and to the server, detached and freed on the way out.
class SharedSegment {
 public:
  SharedSegment(Display* display, std::size_t bytes) : display_(display) {
    info_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (info_.shmid < 0) return;
    void* at = shmat(info_.shmid, nullptr, 0);
    info_.shmaddr = at == reinterpret_cast<void*>(-1) ? nullptr : static_cast<char*>(at);
    info_.readOnly = False;
    attached_ = info_.shmaddr && XShmAttach(display_, &info_);
    XSync(display_, False);
    shmctl(info_.shmid, IPC_RMID, nullptr);  // freed once both sides have detached
  }
  SharedSegment(const SharedSegment&) = delete;
  SharedSegment& operator=(const SharedSegment&) = delete;
  ~SharedSegment() {
    if (attached_) XShmDetach(display_, &info_);
    XSync(display_, False);
    if (info_.shmaddr) shmdt(info_.shmaddr);
  }
  [[nodiscard]] bool Attached() const { return attached_; }
  XShmSegmentInfo* Info() { return &info_; }

 private:
  Display* display_;
  XShmSegmentInfo info_{};
  bool attached_ = false;
};

double MillisecondsOf(auto step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

void Report(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  std::printf("%-44s min %9.3f ms   median %9.3f ms   max %9.3f ms\n", what, samples.front(),
              samples[samples.size() / 2], samples.back());
}

}  // namespace

int main() {
  const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
  if (!display) return std::printf("no X display\n"), 1;
  const int screen = DefaultScreen(display.get());
  const Window root = RootWindow(display.get(), screen);
  const int width = DisplayWidth(display.get(), screen);
  const int height = DisplayHeight(display.get(), screen);
  const auto whole = [&] {
    return UniqueImage(XGetImage(display.get(), root, 0, 0, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), AllPlanes, ZPixmap));
  };
  UniqueImage first = whole();
  if (!first) return std::printf("XGetImage failed\n"), 1;
  std::printf("X screen %d x %d, depth %d, %d bits per pixel\n", width, height, first->depth,
              first->bits_per_pixel);

  std::vector<double> plain;
  for (int run = 0; run < kRuns; ++run) {
    plain.push_back(MillisecondsOf([&] { first = whole(); }));
  }
  Report("X11 XGetImage of the root window", plain);

  if (!XShmQueryExtension(display.get())) return std::printf("no MIT-SHM on this server\n"), 0;
  const UniqueImage shared(XShmCreateImage(display.get(), DefaultVisual(display.get(), screen),
                                           static_cast<unsigned>(DefaultDepth(display.get(), screen)),
                                           ZPixmap, nullptr, nullptr, static_cast<unsigned>(width),
                                           static_cast<unsigned>(height)));
  if (!shared) return std::printf("XShmCreateImage failed\n"), 1;
  SharedSegment segment(display.get(),
                        static_cast<std::size_t>(shared->bytes_per_line) *
                            static_cast<std::size_t>(shared->height));
  if (!segment.Attached()) return std::printf("no shared memory segment\n"), 0;
  shared->data = segment.Info()->shmaddr;
  shared->obdata = reinterpret_cast<char*>(segment.Info());
  std::vector<double> viaShm;
  for (int run = 0; run < kRuns; ++run) {
    viaShm.push_back(MillisecondsOf([&] { XShmGetImage(display.get(), root, shared.get(), 0, 0, AllPlanes); }));
  }
  Report("X11 XShmGetImage of the root window", viaShm);
  shared->data = nullptr;  // the segment's memory is not the image's to free
  return 0;
}
