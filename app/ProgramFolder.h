#pragma once
// Which folder is the program folder, for the window and the command alike.
//
// A portable program folder holds the executables beside their control files
// and is its own program folder. An installed program lies in a system folder
// its users cannot write, so each user gets a folder of their own, made from
// the installed samples on first start and never refilled while it holds a
// table list: upgrades change the samples, never a user's control files.
#include <string>

struct ProgramFolderChoice {
  std::string folder;   // ends with "/"
  std::string problem;  // why the user's folder could not be made; empty when it was
};

// `executableFolder`, `samplesFolder` and `userFolder` end with "/". The
// executable's folder when it holds the table list; otherwise, when
// `samplesFolder` holds one, `userFolder`, filled with every sample it lacks
// unless it already has a table list; otherwise the executable's folder, whose
// start-up checks then say what is missing.
ProgramFolderChoice ChooseProgramFolder(const std::string& executableFolder,
                                        const std::string& samplesFolder,
                                        const std::string& userFolder);

// The user's program folder: "db-dravik" in the user's data folder,
// $XDG_DATA_HOME when it is an absolute path, otherwise ~/.local/share.
// `home` and `xdgDataHome` may be null. Ends with "/".
std::string UserProgramFolder(const char* home, const char* xdgDataHome);

// ChooseProgramFolder with the installed samples' place and the user's folder
// of this process's user.
ProgramFolderChoice ProgramFolderOf(const std::string& executableFolder);
