// Where a library named without a folder is looked for on Windows. Kept
// apart from the loading itself so that the order can be checked anywhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dalvenix::device {

// A folder to look in, or a PATH entry passed over and why.
struct SearchFolder {
  std::string folder;
  std::optional<std::string> passed_over;  // the rest of a sentence after the entry

  friend bool operator==(const SearchFolder&, const SearchFolder&) = default;
};

// Whether a Windows path names one place whatever the current folder and
// drive are: "C:\Tools" or "C:/Tools", or a network path "\\server\share".
bool is_full_windows_path(std::string_view path);

// The program's own folder, then the system folder, then the entries of the
// PATH value in order, without their quotes. The current folder is never
// among them: PATH entries that are empty are dropped, and relative ones
// (".", "bin", "C:bin", "\bin") are listed as passed over. A folder already
// listed is not listed again.
std::vector<SearchFolder> windows_search_folders(std::string_view program_folder,
                                                 std::string_view system_folder,
                                                 std::string_view path_variable);

}  // namespace dalvenix::device
