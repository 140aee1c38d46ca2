#pragma once

#include <QBuffer>

// A memory stream that can also read a block of memory it does not own.
class TZipStream : public QBuffer {
 public:
  TZipStream() = default;
  // Reads size bytes at memory from now on; the memory must outlive the reading.
  virtual void SetPointer(const char* memory, qint64 size) {
    if (isOpen()) close();
    setData(QByteArray::fromRawData(memory, size));
    open(QIODevice::ReadOnly);
  }
};
