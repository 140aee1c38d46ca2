#pragma once

#include <QString>

// Lets one copy of the program run at a time. The lock is named after the program file (its
// name without the directory), so a copy under another name runs beside it. It is an flock on
// a file in the user's runtime directory: the system drops it when the owner ends, also after
// a crash, so a stale lock file never blocks a start.
class TXOneInstance {
 public:
  // programFile: the running program's path; lockDir empty: DefaultLockDir().
  explicit TXOneInstance(const QString& programFile, const QString& lockDir = QString());
  ~TXOneInstance();  // releases the lock
  TXOneInstance(const TXOneInstance&) = delete;
  TXOneInstance& operator=(const TXOneInstance&) = delete;

  // True in the second copy (another process holds the lock, or the lock could not be made);
  // that copy is to end at once.
  bool AlreadyExist() const { return m_fd < 0; }

  // $XDG_RUNTIME_DIR, else a private directory of the user under the temporary directory.
  static QString DefaultLockDir();

 private:
  int m_fd = -1;
};
