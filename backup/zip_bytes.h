#pragma once

#include <cstdint>

// Little-endian fields of zip records and executable headers.
namespace ZipBytes {

inline uint16_t U16(const char* p) { return uint16_t(uint8_t(p[0]) | (uint8_t(p[1]) << 8)); }
inline uint32_t U32(const char* p) { return uint32_t(U16(p)) | (uint32_t(U16(p + 2)) << 16); }
inline void Put16(char* p, uint16_t v) {
  p[0] = char(v & 0xFF);
  p[1] = char(v >> 8);
}
inline void Put32(char* p, uint32_t v) {
  Put16(p, uint16_t(v & 0xFFFF));
  Put16(p + 2, uint16_t(v >> 16));
}

}  // namespace ZipBytes
