// The native floor: what a capture of a screen area into a bitmap file costs without Wine.
// One XGetImage of the root window and the same file as Snapvane writes (BMP, 32 bits per
// pixel, BI_RGB, bottom row first), written as a new file with one writev of the rows in
// file order.
//
//   xgrab X Y W H FILE              one capture (timed from outside as a whole process)
//   xgrab --runs N X Y W H FILE     N captures after 5 unmeasured ones; prints the medians as
//                                   "RESULT<TAB>floor.WxH.grab|save|total<TAB>ms"
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void Put16(uint8_t* p, uint16_t v) { p[0] = uint8_t(v), p[1] = uint8_t(v >> 8); }
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

bool WriteBmp(const XImage* image, int w, int h, const char* path) {
    if (image->bits_per_pixel != 32) {
        std::fprintf(stderr, "xgrab: %d bits per pixel not handled\n", image->bits_per_pixel);
        return false;
    }
    const uint32_t stride = uint32_t(w) * 4, imageSize = stride * uint32_t(h);
    uint8_t header[54] = {'B', 'M'};
    Put32(header + 2, 54 + imageSize);
    Put32(header + 10, 54);
    Put32(header + 14, 40);
    Put32(header + 18, uint32_t(w));
    Put32(header + 22, uint32_t(h));
    Put16(header + 26, 1);
    Put16(header + 28, 32);
    Put32(header + 34, imageSize);
    ::unlink(path);
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return false;
    std::vector<iovec> iov;
    iov.reserve(size_t(h) + 1);
    iov.push_back({header, sizeof header});
    for (int y = h - 1; y >= 0; --y) iov.push_back({image->data + size_t(y) * size_t(image->bytes_per_line), stride});
    bool ok = true;
    for (size_t at = 0; at < iov.size() && ok;) {
        const int n = int(std::min<size_t>(iov.size() - at, IOV_MAX));
        size_t want = 0;
        for (int i = 0; i < n; ++i) want += iov[at + size_t(i)].iov_len;
        ok = ::writev(fd, iov.data() + at, n) == ssize_t(want);
        at += size_t(n);
    }
    return ::close(fd) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 0, arg = 1;
    if (argc > 2 && std::strcmp(argv[1], "--runs") == 0) {
        runs = std::atoi(argv[2]);
        arg = 3;
    }
    if (argc - arg != 5) {
        std::fprintf(stderr, "usage: xgrab [--runs N] X Y W H FILE\n");
        return 2;
    }
    const int x = std::atoi(argv[arg]), y = std::atoi(argv[arg + 1]), w = std::atoi(argv[arg + 2]),
              h = std::atoi(argv[arg + 3]);
    const char* path = argv[arg + 4];
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xgrab: no display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    std::vector<double> grab, save, total;
    for (int run = runs ? -5 : 0; run < std::max(runs, 1); ++run) {
        // Each save makes a new file, as each file of a capture series is a new one. (Truncating
        // an existing file instead costs more on ext4, which then writes the data out at once.)
        if (runs) ::unlink(path);
        const double t0 = NowMs();
        XImage* image = XGetImage(display, root, x, y, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
        if (!image) {
            std::fprintf(stderr, "xgrab: XGetImage failed\n");
            return 1;
        }
        const double t1 = NowMs();
        if (!WriteBmp(image, w, h, path)) {
            std::fprintf(stderr, "xgrab: cannot write %s\n", path);
            return 1;
        }
        const double t2 = NowMs();
        XDestroyImage(image);
        const double t3 = NowMs();
        if (run < 0) continue;
        grab.push_back(t1 - t0);
        save.push_back(t2 - t1);
        total.push_back(t3 - t0);
    }
    XCloseDisplay(display);
    if (runs) {
        const std::string key = "floor." + std::to_string(w) + "x" + std::to_string(h);
        std::printf("RESULT\t%s.grab\t%.4f\n", key.c_str(), Median(grab));
        std::printf("RESULT\t%s.save\t%.4f\n", key.c_str(), Median(save));
        std::printf("RESULT\t%s.total\t%.4f\n", key.c_str(), Median(total));
    }
    return 0;
}
