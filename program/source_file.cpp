#include "program/source_file.h"

#include <new>

#include "basic/basic.h"
#include "basic/constants.h"
#include "formatter/pipeline.h"

namespace vornette {
namespace {

void WriteErrorLine(ConsoleLog& log, std::string_view format,
                    std::initializer_list<std::string_view> args) {
  log.WriteLogLine(std::string(kErrorPrefix) + Substitute(format, args));
}

}  // namespace

bool LoadSourceFile(Env& env, ConsoleLog& log, const std::string& file_name, LineList& list,
                    LineEndingMode ending) {
  const std::string name = env.ConsoleName(file_name);
  log.WriteLogLine(Substitute(kOpenFileLine, {name}));
  if (!env.FileExists(file_name)) {
    WriteErrorLine(log, kFileMissingMessage, {name});
    return false;
  }
  std::string failure;
  try {
    ByteBuffer bytes;
    const FileResult result = env.ReadWholeFile(file_name, &bytes);
    if (result != FileResult::kOk) {
      failure = FileFailureText(result, name);
    } else if (!CutIntoLines(std::move(bytes), &list, ending)) {
      failure = Substitute(kNulByteText, {name});
    }
  } catch (const std::bad_alloc&) {
    list.clear();
    failure = FileFailureText(FileResult::kNoMemory, name);
  }
  if (failure.empty()) return true;
  WriteErrorLine(log, kCanNotOpenMessage, {name, failure});
  return false;
}

bool SaveSourceFile(Env& env, ConsoleLog& log, const std::string& file_name, const LineList& list) {
  const std::string name = env.ConsoleName(file_name);
  log.WriteLogLine(Substitute(kSaveFileLine, {name}));
  FileResult result;
  try {
    result = env.WriteWholeFile(file_name, list.WritingFormat());
  } catch (const std::bad_alloc&) {
    result = FileResult::kNoMemory;
  }
  if (result == FileResult::kOk) return true;
  WriteErrorLine(log, kCanNotSaveMessage, {name, FileFailureText(result, name)});
  return false;
}

void ProcessSourceFile(Env& env, ConsoleLog& log, const FormatterSettings& settings,
                       const std::string& file_name) {
  LineList list;
  if (!LoadSourceFile(env, log, file_name, list, settings.LineEnding)) return;
  if (!SaveSourceFile(env, log, file_name + std::string(kBackupSuffix), list)) return;
  const std::string name = env.ConsoleName(file_name);
  log.WriteLogLine(Substitute(kProcessFileLine, {name}));
  // The whole file is formatted before it is opened for writing, so a failure
  // while formatting leaves it as it was.
  const LineList formatted = FormatLines(std::move(list), settings);
  SaveSourceFile(env, log, file_name, formatted);
  log.WriteLogLine(Substitute(kDoneFileLine, {name}));
}

}  // namespace vornette
