// CRC-32 with the reflected polynomial 0xEDB88320 (the checksum of zip and Ethernet).
#pragma once

#include <cstddef>
#include <cstdint>

// Continues a checksum: start with crc = 0; the result of one call feeds the next.
uint32_t Crc32(uint32_t crc, const void* data, size_t size);
uint32_t Crc32Text(uint32_t crc, const char* text);
