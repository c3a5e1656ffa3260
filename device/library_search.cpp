#include "device/library_search.h"

#include <algorithm>

namespace dalvenix::device {
namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

bool is_drive_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The same folder however it is written: case, separators, a final separator.
std::string folder_key(std::string_view folder) {
  std::string key(folder);
  while (key.size() > 1 && is_separator(key.back()) && key[key.size() - 2] != ':') key.pop_back();
  for (char& c : key) {
    if (c == '/') c = '\\';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

bool is_full_windows_path(std::string_view path) {
  if (path.size() >= 3 && is_drive_letter(path[0]) && path[1] == ':' && is_separator(path[2])) {
    return true;
  }
  return path.size() >= 3 && is_separator(path[0]) && is_separator(path[1]) &&
         !is_separator(path[2]);
}

std::vector<SearchFolder> windows_search_folders(std::string_view program_folder,
                                                 std::string_view system_folder,
                                                 std::string_view path_variable) {
  std::vector<SearchFolder> folders;
  std::vector<std::string> keys;
  const auto add = [&](std::string_view folder) {
    std::string key = folder_key(folder);
    if (std::find(keys.begin(), keys.end(), key) != keys.end()) return;
    keys.push_back(std::move(key));
    folders.push_back({std::string(folder), std::nullopt});
  };
  if (!program_folder.empty()) add(program_folder);
  if (!system_folder.empty()) add(system_folder);

  std::size_t start = 0;
  while (start <= path_variable.size()) {
    std::size_t end = path_variable.find(';', start);
    if (end == std::string_view::npos) end = path_variable.size();
    std::string_view entry = trimmed(path_variable.substr(start, end - start));
    start = end + 1;
    if (entry.size() >= 2 && entry.front() == '"' && entry.back() == '"') {
      entry = trimmed(entry.substr(1, entry.size() - 2));
    }
    if (entry.empty()) continue;
    if (is_full_windows_path(entry)) {
      add(entry);
    } else {
      folders.push_back({std::string(entry), "is not a full path, so it is passed over"});
    }
  }
  return folders;
}

}  // namespace dalvenix::device
