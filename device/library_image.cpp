#include "device/library_image.h"

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string_view>
#include <utility>

#include "device/concat.h"

#if defined(_WIN32)
#include <windows.h>

#include "device/windows_text.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#endif

namespace dalvenix::device {
namespace {

// PE Machine field values.
constexpr std::uint16_t kPeI386 = 0x014C;
constexpr std::uint16_t kPeArmNt = 0x01C4;
constexpr std::uint16_t kPeAmd64 = 0x8664;
constexpr std::uint16_t kPeArm64 = 0xAA64;
// ELF e_machine values.
constexpr std::uint16_t kElf386 = 3;
constexpr std::uint16_t kElfArm = 40;
constexpr std::uint16_t kElfX8664 = 62;
constexpr std::uint16_t kElfAarch64 = 183;
constexpr std::uint16_t kElfRiscV = 243;

struct Known {
  Machine machine;
  std::string_view words;
};

constexpr std::array<Known, 9> kKnown{{
    {{ImageFormat::pe, kPeI386, 0}, "32-bit"},
    {{ImageFormat::pe, kPeAmd64, 0}, "64-bit"},
    {{ImageFormat::pe, kPeArmNt, 0}, "32-bit ARM"},
    {{ImageFormat::pe, kPeArm64, 0}, "64-bit ARM"},
    {{ImageFormat::elf, kElf386, 32}, "32-bit x86"},
    {{ImageFormat::elf, kElfX8664, 64}, "64-bit x86"},
    {{ImageFormat::elf, kElfArm, 32}, "32-bit ARM"},
    {{ImageFormat::elf, kElfAarch64, 64}, "64-bit ARM"},
    {{ImageFormat::elf, kElfRiscV, 64}, "64-bit RISC-V"},
}};

const Known* known(const Machine& machine) {
  for (const Known& entry : kKnown) {
    if (entry.machine == machine) return &entry;
  }
  return nullptr;
}

std::string hex4(std::uint16_t value) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string text = "0x";
  for (int shift = 12; shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0xFU];
  return text;
}

// What sits at a path, as far as its first bytes tell.
struct Found {
  enum class Kind : std::uint8_t { absent, folder, unreadable, empty, image, other };
  Kind kind = Kind::other;
  Machine machine{};
  std::string problem;  // for unreadable
};

Found found(Found::Kind kind, Machine machine = {}, std::string problem = {}) {
  Found result;
  result.kind = kind;
  result.machine = machine;
  result.problem = std::move(problem);
  return result;
}

std::uint16_t little16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8U));
}

std::uint16_t big16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>((bytes[0] << 8U) | bytes[1]);
}

std::uint32_t little32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(little16(bytes)) |
         (static_cast<std::uint32_t>(little16(bytes + 2)) << 16U);
}

// A file opened for reading by the system's own calls, closed with this
// object; or what was found at its path instead.
class InputFile {
 public:
  explicit InputFile(const std::string& path);

  // Nothing while the file is open; otherwise absent, a folder, or
  // unreadable with the system's reason.
  [[nodiscard]] const std::optional<Found>& instead() const noexcept { return instead_; }

  // How many bytes were read into `bytes` from `offset`: fewer at the end of
  // the file. Nothing where the system cannot read it; `instead` then says why.
  std::optional<std::size_t> read_at(std::uint64_t offset, std::span<unsigned char> bytes);

 private:
#if defined(_WIN32)
  struct Closer {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
  };
  std::unique_ptr<void, Closer> handle_;
#else
  class Descriptor {
   public:
    explicit Descriptor(int descriptor) noexcept : descriptor_(descriptor) {}
    ~Descriptor() {
      if (descriptor_ >= 0) close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&&) = delete;
    Descriptor& operator=(Descriptor&&) = delete;
    [[nodiscard]] int get() const noexcept { return descriptor_; }

   private:
    int descriptor_;
  };
  std::optional<Descriptor> descriptor_;
#endif
  std::optional<Found> instead_;
};

#if defined(_WIN32)

InputFile::InputFile(const std::string& path) {
  const std::wstring wide = widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        error == ERROR_INVALID_DRIVE) {
      instead_ = found(Found::Kind::absent);
    } else {
      instead_ = found(Found::Kind::unreadable, {}, system_message(error, path));
    }
    return;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    instead_ = found(Found::Kind::folder);
    return;
  }
  const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    instead_ = found(Found::Kind::unreadable, {}, system_message(GetLastError(), path));
    return;
  }
  handle_.reset(handle);
}

std::optional<std::size_t> InputFile::read_at(std::uint64_t offset,
                                              std::span<unsigned char> bytes) {
  std::size_t count = 0;
  while (count < bytes.size()) {
    const std::uint64_t at = offset + count;
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(at & 0xFFFFFFFFU);
    position.OffsetHigh = static_cast<DWORD>(at >> 32U);
    DWORD read = 0;
    if (ReadFile(handle_.get(), bytes.data() + count, static_cast<DWORD>(bytes.size() - count),
                 &read, &position) == FALSE) {
      const DWORD error = GetLastError();
      if (error == ERROR_HANDLE_EOF) break;
      instead_ = found(Found::Kind::unreadable, {}, system_message(error));
      return std::nullopt;
    }
    if (read == 0) break;
    count += read;
  }
  return count;
}

#else

std::string error_text(int error) { return std::generic_category().message(error); }

InputFile::InputFile(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    const int error = errno;
    instead_ = error == ENOENT || error == ENOTDIR
                   ? found(Found::Kind::absent)
                   : found(Found::Kind::unreadable, {}, error_text(error));
    return;
  }
  if (S_ISDIR(status.st_mode)) {
    instead_ = found(Found::Kind::folder);
    return;
  }
  // Not blocking: opening a pipe would wait for a writer; reading one fails.
  const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) {
    instead_ = found(Found::Kind::unreadable, {}, error_text(errno));
    return;
  }
  descriptor_.emplace(descriptor);
}

std::optional<std::size_t> InputFile::read_at(std::uint64_t offset,
                                              std::span<unsigned char> bytes) {
  std::size_t count = 0;
  while (count < bytes.size()) {
    const ssize_t read = pread(descriptor_->get(), bytes.data() + count, bytes.size() - count,
                               static_cast<off_t>(offset + count));
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) {
      instead_ = found(Found::Kind::unreadable, {}, error_text(errno));
      return std::nullopt;
    }
    if (read == 0) break;
    count += static_cast<std::size_t>(read);
  }
  return count;
}

#endif

Found examine(const std::string& path) {
  InputFile file(path);
  if (file.instead()) return *file.instead();

  // The ELF identification and e_machine, or the DOS header with e_lfanew.
  constexpr std::size_t kDosHeaderSize = 64;
  std::array<unsigned char, kDosHeaderSize> start{};
  const std::optional<std::size_t> count = file.read_at(0, start);
  if (!count) return *file.instead();
  if (*count == 0) return found(Found::Kind::empty);

  constexpr std::size_t kElfMachineOffset = 18;
  if (*count >= kElfMachineOffset + 2 && start[0] == 0x7F && start[1] == 'E' && start[2] == 'L' &&
      start[3] == 'F') {
    const unsigned char elf_class = start[4];  // 1: 32-bit, 2: 64-bit
    const unsigned char encoding = start[5];   // 1: little-endian, 2: big-endian
    if ((elf_class != 1 && elf_class != 2) || (encoding != 1 && encoding != 2)) {
      return found(Found::Kind::other);
    }
    const unsigned char* field = start.data() + kElfMachineOffset;
    const std::uint16_t code = encoding == 1 ? little16(field) : big16(field);
    return found(Found::Kind::image,
                 {ImageFormat::elf, code, static_cast<std::uint8_t>(elf_class == 1 ? 32 : 64)});
  }

  constexpr std::size_t kNewHeaderOffset = 0x3C;
  if (*count == kDosHeaderSize && start[0] == 'M' && start[1] == 'Z') {
    // "PE\0\0", then the COFF header, whose first field is the machine.
    std::array<unsigned char, 6> signature{};
    const std::optional<std::size_t> read =
        file.read_at(little32(start.data() + kNewHeaderOffset), signature);
    if (!read) return *file.instead();
    if (*read == signature.size() && signature[0] == 'P' && signature[1] == 'E' &&
        signature[2] == 0 && signature[3] == 0) {
      return found(Found::Kind::image, {ImageFormat::pe, little16(signature.data() + 4), 0});
    }
  }
  return found(Found::Kind::other);
}

std::string_view format_words(ImageFormat format) {
  return format == ImageFormat::pe ? "a Windows library" : "a Linux library";
}

}  // namespace

std::optional<Machine> this_program_machine() {
#if defined(_WIN32)
#if defined(__x86_64__) || defined(_M_X64)
  return Machine{ImageFormat::pe, kPeAmd64, 0};
#elif defined(__i386__) || defined(_M_IX86)
  return Machine{ImageFormat::pe, kPeI386, 0};
#elif defined(__aarch64__) || defined(_M_ARM64)
  return Machine{ImageFormat::pe, kPeArm64, 0};
#elif defined(__arm__) || defined(_M_ARM)
  return Machine{ImageFormat::pe, kPeArmNt, 0};
#else
  return std::nullopt;
#endif
#else
  constexpr auto kBits = static_cast<std::uint8_t>(sizeof(void*) * 8);
#if defined(__x86_64__)
  return Machine{ImageFormat::elf, kElfX8664, kBits};
#elif defined(__i386__)
  return Machine{ImageFormat::elf, kElf386, kBits};
#elif defined(__aarch64__)
  return Machine{ImageFormat::elf, kElfAarch64, kBits};
#elif defined(__arm__)
  return Machine{ImageFormat::elf, kElfArm, kBits};
#elif defined(__riscv)
  return Machine{ImageFormat::elf, kElfRiscV, kBits};
#else
  return std::nullopt;
#endif
#endif
}

std::string describe(const Machine& machine) {
  if (const Known* entry = known(machine)) return std::string(entry->words);
  if (machine.format == ImageFormat::pe) return concat({"PE machine ", hex4(machine.code)});
  return concat(
      {"ELF machine ", std::to_string(machine.code), ", ", std::to_string(machine.bits), "-bit"});
}

std::optional<std::string> reason_not_to_load(const std::string& file, ImageFormat expected,
                                              const std::optional<Machine>& program) {
  const Found what = examine(file);
  switch (what.kind) {
    case Found::Kind::absent: return "is not there";
    case Found::Kind::folder: return "is a folder, not a library";
    case Found::Kind::unreadable: return concat({"cannot be read: ", what.problem});
    case Found::Kind::empty: return "is an empty file, not a library";
    case Found::Kind::other: return concat({"is not ", format_words(expected)});
    case Found::Kind::image: break;
  }
  if (what.machine.format != expected) {
    return concat({"is ", format_words(what.machine.format), ", not ", format_words(expected)});
  }
  if (!program || what.machine == *program) return std::nullopt;
  const bool known_machine = known(what.machine) != nullptr;
  const std::string needed = describe(*program);
  return concat({known_machine ? "is a " : "is a library for ", describe(what.machine),
                 known_machine ? " library" : "", "; this program is ", needed, " and needs the ",
                 needed, " ", file_name(file)});
}

std::string_view file_name(std::string_view path) {
#if defined(_WIN32)
  const std::size_t separator = path.find_last_of("\\/");
#else
  const std::size_t separator = path.rfind('/');
#endif
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace dalvenix::device
