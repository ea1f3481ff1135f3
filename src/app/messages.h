#pragma once
#include <string_view>

#include "core/failure_code.h"

// Every text the operator sees, in one place.
namespace text {

inline constexpr std::string_view kTitle = "Program Disc Writing Tool Ver.1.15.1";
inline constexpr std::string_view kApplicationName = "ZN Meak CD";
inline constexpr std::string_view kCaption = "ProgramCD Recording";
inline constexpr std::string_view kDialogTitle = "Drive Select";
inline constexpr std::string_view kDialogLabel = "Select CD-R Drive:";

// Start-up.
inline constexpr std::string_view kAspiLoad = "ASPI for Win32 is resident!";
inline constexpr std::string_view kAspiEntry = "ASPI for Win32 not available!";
inline constexpr std::string_view kSystemError = "System Error!";
inline constexpr std::string_view kNotConnected = "The CD Recording Unit is not connected.";

// Image selection.
inline constexpr std::string_view kFileOpenError = "File Open Error";
inline constexpr std::string_view kFileSizeError = "File Size Error";
inline constexpr std::string_view kFileFormatError = "File Format Error";
inline constexpr std::string_view kSumCheckError = "Sum Check Error";
inline constexpr std::string_view kFileError = "File Error";
inline constexpr std::string_view kMemoryError = "Memory area not allocate!";
inline constexpr std::string_view kFileVersionError = "File Version Error";

// Disc making.
inline constexpr std::string_view kInsertDisc = "Insert CD-R Disc";
inline constexpr std::string_view kStartRecording = "Start recording.";
inline constexpr std::string_view kCompleted = "Recording is completed";
inline constexpr std::string_view kVerifyFails = "Verify fails";
inline constexpr std::string_view kEjectStage = "Eject CD";
inline constexpr std::string_view kUnexpectedError = "Recording stopped by an unexpected error: ";
inline constexpr std::string_view kRecorderInUse = "The CD recorder cannot be used: ";
inline constexpr std::string_view kFileChanged =
    "The file has changed since it was selected. Select it again.";
inline constexpr std::string_view kNoDiscInTime =
    "No CD-R disc was inserted in the time given by --wait; nothing was recorded.";
inline constexpr std::string_view kStoppedBeforeWriting =
    "Stopped before anything was written: the disc can still be used.";
inline constexpr std::string_view kStoppedWhileWriting =
    "Stopped during the recording: the disc in the recorder is now unusable.";
// Refusing to close the main window while its recording runs.
inline constexpr std::string_view kRecordingRunning =
    "A recording is running. The window can be closed when it has ended.";

}  // namespace text

// The start-up failure text for a code from loading the transport.
std::string_view StartupFailureText(FailureCode code);

// A recording failure: the text shown and whether the program can go on.
struct RecordingFailure {
  std::string_view text;
  bool recovery;
};
RecordingFailure RecordingFailureFor(FailureCode code);

// The Message text for a rejected file, chosen by IdentifyDiscImage's result.
std::string_view RejectionText(int discImageResult);
