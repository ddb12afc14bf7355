// Settings file input and output with bounded reads and atomic replacement.
#include "app/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "app/settings_io.h"
#include "app/settings_path.h"
#include "app/settings_values.h"

namespace {

// Closes the descriptor on every return path.
class FileHandle {
  public:
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// The whole file, or nothing when it is not a regular file of at most
// SETTINGS_FILE_MAX_BYTES. O_NONBLOCK keeps a FIFO at the path from blocking.
std::string read_file(const std::string& path) {
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info {};
    if (file.get() < 0 || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > SETTINGS_FILE_MAX_BYTES)
        return {};
    std::string bytes(static_cast<size_t>(info.st_size), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {};
        if (n == 0) break;  // the file shrank meanwhile: keep what was there
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A fresh file beside the settings file; its name is returned in name.
int create_temp(const std::string& path, std::string& name) {
    static std::atomic<u32> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + "." + std::to_string(getpid()) + "." + std::to_string(counter++) + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool write_replacing(const std::string& path, std::string_view bytes) {
    std::string temp;
    FileHandle file(create_temp(path, temp));
    if (file.get() < 0) return false;
    const bool written = write_all(file.get(), bytes) && fsync(file.get()) == 0 && file.close();
    if (!written || std::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // Makes the rename itself durable; the new file is complete either way.
    FileHandle folder(::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) fsync(folder.get());
    return true;
}

bool has_mark(std::string_view bytes) {
    return bytes.size() >= 2 && static_cast<u8>(bytes[0]) == 0xFF &&
           static_cast<u8>(bytes[1]) == 0xFE;
}

}  // namespace

std::u16string settings_decode(std::string_view bytes) {
    if (!has_mark(bytes)) return {};
    std::u16string text((bytes.size() - 2) / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<u8>(bytes[2 + 2 * i]) |
                                        static_cast<u8>(bytes[3 + 2 * i]) << 8);
    return text;
}

std::string settings_encode(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(2 + 2 * text.size());
    bytes += static_cast<char>(0xFF);
    bytes += static_cast<char>(0xFE);
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

bool settings_load() {
    settings_path_build();
    const std::string bytes = settings_path.empty() ? std::string() : read_file(settings_path);
    std::u16string text = settings_decode(bytes);
    const bool found = has_mark(bytes);
    settings_io(SETTINGS_IO_READ, text);
    settings_dirty = 0;
    return found;
}

bool settings_save() {
    settings_path_build();
    if (settings_path.empty()) return false;
    std::u16string text;
    settings_io(SETTINGS_IO_WRITE, text);
    ::mkdir(folder_of(settings_path).c_str(), 0700);  // in case it was removed meanwhile
    if (!write_replacing(settings_path, settings_encode(text))) return false;
    settings_dirty = 0;
    return true;
}
