#include "sim/shell/ScreenshotFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "sim/control/PngEncoder.h"

std::filesystem::path ScreenshotFile::Save(const std::filesystem::path& stateDir,
                                           const std::vector<std::uint32_t>& pixels, int width,
                                           int height, std::string& error) {
    const std::vector<std::uint8_t> png = PngEncoder::Encode(pixels, width, height, error);
    if (png.empty())
        return {};
    std::filesystem::path state = stateDir.lexically_normal();
    if (state.filename().empty())
        state = state.parent_path();
    for (int n = 1; n <= kMaxNumber; ++n) {
        const std::filesystem::path file =
            state.parent_path() /
            (state.filename().string() + "-screen-" + std::to_string(n) + ".png");
        // O_EXCL: a name another simulator took meanwhile is never written over.
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0) {
            error = "cannot write " + file.string() + ": " + std::strerror(errno);
            return {};
        }
        std::size_t done = 0;
        while (done < png.size()) {
            const ssize_t put = ::write(fd, png.data() + done, png.size() - done);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                error = "cannot write " + file.string() + ": " + std::strerror(errno);
                ::close(fd);
                ::unlink(file.c_str());
                return {};
            }
            done += std::size_t(put);
        }
        if (::close(fd) != 0) {
            error = "cannot write " + file.string() + ": " + std::strerror(errno);
            ::unlink(file.c_str());
            return {};
        }
        return file;
    }
    error = "every name up to " + state.filename().string() + "-screen-" +
            std::to_string(kMaxNumber) + ".png is taken";
    return {};
}
