#pragma once

#include <QStringList>
#include <cstdint>

// The compression libraries: the compressor (adding) and the extractor (testing and
// extracting), driven through one parameter record per call and a progress callback, as the
// zip component expects them. Built over libzip; the extraction itself is ours, libzip only
// reads. Texts in the records are zero-terminated UTF-8 (CP852 names under the OEM code page).

constexpr int32_t kZipLibVersion = 177;
constexpr int32_t kZipLibPrivVersion = 1770000;
constexpr int32_t kZipRecordCheck = 7;  // the last field of both records

// Callback actions (low 6 bits of ActionCode).
enum ZipCallbackAction : int32_t {
  zacTick = 0,
  zacItem = 1,
  zacProgress = 2,
  zacEndOfBatch = 3,
  zacMessage = 4,
  zacCount = 5,
  zacSize = 6,
  zacNewName = 7,
  zacPassword = 8,
  zacCRCError = 9,
  zacOverwrite = 10,
  zacSkipped = 11,
  zacComment = 12,
  zacStream = 13,
  zacData = 14,
  zacXItem = 15,
  zacXProgress = 16,
  zacExtName = 17,
};

// Why an entry was skipped (ErrorCode of a zacSkipped callback).
enum ZipSkipReason : int32_t {
  zsrExists = 1,      // the target exists and overwriting is off
  zsrUnsafePath = 2,  // the name leads outside the target directory
  zsrPassword = 3,    // no or wrong password
  zsrSpecial = 4,     // a symbolic link or device entry
  zsrNotFound = 6,    // a file name or pattern matched nothing
  zsrMethod = 7,      // a compression or encryption method libzip cannot read
};

// Error codes of a zacMessage callback besides the message ids of the component; a code that
// is a message id in bits 16-31 of ActionCode has its text taken from the message table.
constexpr int32_t kZipLibErrorOpen = 11002;    // "Zip file could not be opened"
constexpr int32_t kZipLibErrorRead = 11021;    // "Error while reading zipped data"
constexpr int32_t kZipLibErrorWrite = 11010;   // "Write error in output file"
constexpr int32_t kZipLibErrorCreate = 11009;  // "Creation of output file failed"
constexpr int32_t kZipLibErrorInput = 11001;   // "Input file does not exist"

// Sent to the callback. A text of four or more bytes (or any text that fits) stands in
// FileNameOrMsg; otherwise its first four bytes are 0 and MsgPtr points to it.
struct ZipCallbackStruct {
  void* Handle;
  void* Caller;
  int32_t Version;
  int32_t IsOperationZip;
  int32_t ActionCode;  // action, text position (bits 8-15), message id (bits 16-31)
  int32_t ErrorCode;   // error code or count; 1 when a question is answered
  int64_t FileSize;
  char FileNameOrMsg[512];
  const char* MsgPtr;
  int32_t Count;  // actions 1 to 3: the item number; password answers: further prompts
};
using ZipCallbackFunc = int32_t (*)(ZipCallbackStruct*);  // non-zero asks to cancel

// One file name or pattern given to the compressor.
struct ZipFileData {
  const char* FileSpec;
  const char* Reserved4;
  const char* Reserved8;
  const char* FileSpecPassword;  // its own password, or null
  int32_t Encrypt;               // 0xFFFF with its own password
  uint16_t Recurse;              // 0xFFFF: search subdirectories
  uint16_t Reserved22;
  int32_t Reserved24[3];
  int32_t Reserved36;
  int32_t Reserved40[16];
};

// The compressor's record; "flag" fields are -1 for yes, 0 for no.
struct ZipLibParams {
  void* Handle;
  void* Caller;
  int32_t Version;
  ZipCallbackFunc Callback;
  int32_t fTraceEnabled;
  const char* PZipPassword;
  const char* PSuffix;  // ".gif:.png:..." stored without compression
  int32_t fEncrypt;
  int32_t fSystem;  // hidden (dot) files too
  int32_t fVolume;  // no effect here
  int32_t fExtra;
  int32_t fNoDirEntries;  // 0: add directory entries of their own
  int32_t fDate;          // only files from Date on
  int32_t fVerboseEnabled;
  int32_t fQuiet;
  int32_t fLevel;
  int32_t fComprSpecial;
  int32_t fCRLF_LF;
  int32_t fJunkDir;  // -1: names stored without directory
  uint16_t fRecurse;
  uint16_t fNoRecurseFiles;
  int32_t fGrow;   // 0: safe (our writes are always safe)
  int32_t fForce;  // DOS 8.3 upper-case names
  int32_t fMove;   // delete the sources once the archive is written
  int32_t fDeleteEntries;
  int32_t fUpdate;
  int32_t fFreshen;
  int32_t fJunkSFX;
  int32_t fLatestTime;  // the archive gets the time of its newest entry
  char Date[8];         // "mm dd yy", no terminator
  int32_t Argc;
  const char* PZipFN;
  const char* PTempDir;
  const char* PZipStore;
  int16_t fArchiveFilesOnly;  // no effect here
  int16_t fResetArchiveBit;   // no effect here
  ZipFileData* FDs;
  int32_t fForceWin;
  int32_t TotExFileSpecs;
  const char** ExFiles;
  int64_t StreamSize[2];
  void* Stream[2];
  int32_t StreamReserved[4];
  int32_t fHowToDelete;  // -1: deleted sources go to the trash
  int16_t fCodePage;     // 2: names in CP852
  int32_t fVersion;
  const char* PRootDir;
  int64_t Reserved204;
  // With fMove: when set (a QStringList*), the sources to delete are handed back here instead,
  // for a caller whose archive is not final when the compressor ends.
  void* PMovedSources;
  int32_t fCheck;
};

// One file name or pattern given to the extractor.
struct UnzFileData {
  const char* FileSpec;
  int32_t Reserved[17];
};

struct UnzLibParams {
  void* Handle;
  void* Caller;
  int32_t Version;
  ZipCallbackFunc Callback;
  int32_t fTraceEnabled;
  int32_t fPromptToOverwrite;
  const char* PZipPassword;
  int32_t fTest;
  int32_t fComments;
  int32_t fConvert;
  int32_t fQuiet;
  int32_t fVerboseEnabled;
  int32_t fUpdate;
  int32_t fFreshen;
  int32_t fDirectories;  // keep the stored directories
  int32_t fOverwrite;
  int32_t Argc;  // 0: every entry
  const char* PZipFN;
  UnzFileData* FDs;
  void* Stream;
  int32_t fStream;
  int64_t StreamSize;
  int32_t fStreamOut;
  int32_t StreamReserved[2];
  int32_t fPwdReqCount;
  const char* PExtractDir;  // null: the current directory
  int32_t Reserved112[8];
  int32_t fCheck;
};

// The exports. Exec returns the number of files processed, or a negative code: -2 aborted,
// -3 busy, -4 cancelled, -5 out of memory, -6 invalid record. A null record asks a running
// operation to abort.
// Deletes the sources a moving add handed back (PMovedSources): files, then directories, deepest
// first (marked by a trailing "/"); to the trash when asked.
void DeleteMovedSources(const QStringList& sources, bool toTrash);

extern "C" {
int32_t ZipLibExec(ZipLibParams* params);
int32_t GetZipLibVersion();
int32_t GetZipLibPrivVersion();
int32_t UnzLibExec(UnzLibParams* params);
int32_t GetUnzLibVersion();
int32_t GetUnzLibPrivVersion();
}
