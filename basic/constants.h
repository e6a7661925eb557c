// Named constants: the program's fixed names and the texts it writes.
//
// The texts are the program's own words as its users and their scripts know
// them; "%s" marks where a name or a failure text is put in.
#ifndef VORNETTE_BASIC_CONSTANTS_H_
#define VORNETTE_BASIC_CONSTANTS_H_

#include <string_view>

namespace vornette {

inline constexpr std::string_view kBanner =
    "Vornette V0.4.0 - formats KUKA KRL programs: operators spaced, keywords recased, "
    "blocks indented";
inline constexpr std::string_view kConfigFileName = "Vornette.ini";
inline constexpr std::string_view kBackupSuffix = "~";
inline constexpr std::string_view kLineEnd = "\r\n";

// Progress and failure lines of the file pass.
inline constexpr std::string_view kOpenFileLine = "Debug: Open file \"%s\".";
inline constexpr std::string_view kSaveFileLine = "Debug: Save file \"%s\".";
inline constexpr std::string_view kProcessFileLine = "Debug: Process file \"%s\".";
inline constexpr std::string_view kDoneFileLine = "Debug: Done file \"%s\".";
inline constexpr std::string_view kErrorPrefix = "Error: ";
inline constexpr std::string_view kFileMissingMessage = "File \"%s\" do not exist!";
inline constexpr std::string_view kCanNotOpenMessage = "Can not open file \"%s\". Message: %s";
inline constexpr std::string_view kCanNotSaveMessage = "Can not save file \"%s\". Message: %s";
inline constexpr std::string_view kConfigReadErrorMessage =
    "Exception while reading from config file \"%s\". Message: %s";

// A failure that nothing catches ends the run with this line and status 1.
inline constexpr std::string_view kFatalFailureMessage = "Out of memory: %s";

// The failures' own texts. They stay in German: users' scripts match them.
inline constexpr std::string_view kOpenFailureText =
    "Datei %s kann nicht ge\xC3\xB6"
    "ffnet werden";
inline constexpr std::string_view kCreateFailureText = "Datei %s kann nicht erstellt werden";
inline constexpr std::string_view kShortWriteText = "Stream-Write-Fehler";
inline constexpr std::string_view kReadFailureText = "Stream-Read-Fehler";
inline constexpr std::string_view kOutOfMemoryText = "Zu wenig Arbeitsspeicher";
inline constexpr std::string_view kOwnPathUnknownText =
    "Der Pfad des Programms kann nicht ermittelt werden";
inline constexpr std::string_view kNulByteText =
    "Datei %s enth\xC3\xA4lt ein NUL-Byte und ist keine Textdatei";

inline constexpr int kExitNormal = 0;
inline constexpr int kExitFatal = 1;

}  // namespace vornette

#endif  // VORNETTE_BASIC_CONSTANTS_H_
