#include "app/ProgramFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "BuildInfo.h"
#include "text/TextFile.h"

namespace fs = std::filesystem;

namespace {

constexpr char kTableList[] = "Conv.txt";

bool HoldsTableList(const std::string& folder) {
  std::error_code ignored;
  return fs::is_regular_file(text::ResolveInFolder(folder, kTableList), ignored);
}

std::string HomeOfThisUser() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
      !found->pw_dir)
    return {};
  return found->pw_dir;
}

// Every sample the user's folder lacks (names matched as the program matches
// them, ignoring letter case) is copied in. Each file lands under a temporary
// name and is renamed, and the table list comes last, so a filling that stops
// halfway leaves no table list and is taken up again at the next start.
void CopyMissingSamples(const fs::path& samples, const std::string& userFolder) {
  std::vector<fs::path> names;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(samples))
    if (entry.is_regular_file()) names.push_back(fs::relative(entry.path(), samples));
  std::sort(names.begin(), names.end());
  std::stable_partition(names.begin(), names.end(),
                        [](const fs::path& name) { return name != kTableList; });

  fs::create_directories(userFolder);
  for (const fs::path& name : names) {
    if (fs::exists(text::ResolveInFolder(userFolder, name.generic_string()))) continue;
    // Into the user's "sql/" when that stands for the samples' "SQL/".
    const std::string folder = name.has_parent_path()
                                   ? text::ResolveInFolder(userFolder, name.parent_path()) + "/"
                                   : userFolder;
    fs::create_directories(folder);
    const fs::path target = folder + name.filename().string();
    fs::path partial = target;
    partial += ".partial";
    fs::copy_file(samples / name, partial, fs::copy_options::overwrite_existing);
    fs::rename(partial, target);
  }
}

}  // namespace

ProgramFolderChoice ChooseProgramFolder(const std::string& executableFolder,
                                        const std::string& samplesFolder,
                                        const std::string& userFolder) {
  if (HoldsTableList(executableFolder) || !HoldsTableList(samplesFolder))
    return {executableFolder, {}};
  if (HoldsTableList(userFolder)) return {userFolder, {}};
  try {
    CopyMissingSamples(samplesFolder, userFolder);
  } catch (const fs::filesystem_error& e) {
    // The start-up checks then report the folder as they would any other.
    return {userFolder, e.what()};
  }
  return {userFolder, {}};
}

std::string UserProgramFolder(const char* home, const char* xdgDataHome) {
  std::string data;
  if (xdgDataHome && xdgDataHome[0] == '/') {
    data = xdgDataHome;
  } else {
    data = home && home[0] ? std::string(home) : HomeOfThisUser();
    while (!data.empty() && data.back() == '/') data.pop_back();
    data += "/.local/share";
  }
  while (!data.empty() && data.back() == '/') data.pop_back();
  return data + "/db-dravik/";
}

ProgramFolderChoice ProgramFolderOf(const std::string& executableFolder) {
  const std::string samples =
      fs::path(executableFolder + build::kSamplesFromExecutable).lexically_normal().string();
  return ChooseProgramFolder(executableFolder, samples,
                             UserProgramFolder(std::getenv("HOME"), std::getenv("XDG_DATA_HOME")));
}
