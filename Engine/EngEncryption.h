// AES-128 counter-mode encryption keyed by a process-wide password (the
// 16-byte initial counter is stored in front of the ciphertext), and in-place
// Blowfish encryption of 8-byte blocks.
#pragma once

#include <cstdint>

#include "EngTypes.h"

class EngFile;

#define ENG_ENCRYPTION_KEY_SIZE 16
#define ENG_ENCRYPTION_IV_SIZE 16

bool EngEncryptionInit(char* password);
// A new block of n + 16 bytes from malloc (given back with free), or null.
void* EngEncryptionEncrypt(const void* data, EngUInt32 n);
// In place: block holds n + 16 bytes; afterwards its first n bytes are the
// plaintext and byte n is 0.
bool EngEncryptionDecrypt(void* block, EngUInt32 n);
// A new EngMalloc buffer with the plaintext of a block of total bytes.
void* EngEncryptionDecryptData(const void* block, EngUInt32 total, EngUInt32* n_out);
bool EngEncryptionEncryptAndWriteToFile(const char* path, void* data, EngUInt32 n);
bool EngEncryptionEncryptAndWriteToOpenFile(EngFile* file, void* data, EngUInt32 n);
bool EngEncryptionReadFromFileAndDecrypt(const char* path, void* out, EngUInt32 n);
bool EngEncryptionReadFromOpenFileAndDecrypt(EngFile* file, void* out, EngUInt32 n);
bool EngEncryptionCheckEncryptedFileSizeOk(const char* path, EngUInt32 n);
bool EngEncryptionCheckOpenEncryptedFileSizeOk(EngFile* file, EngUInt32 n);

struct BlowFishCtx
{
    uint32_t P[18];
    uint32_t S[4][256];
};

void BlowFishInit(BlowFishCtx* ctx, unsigned char* key, int key_len);
void BlowFishEncrypt(BlowFishCtx* ctx, uint32_t* left, uint32_t* right);
void BlowFishDecrypt(BlowFishCtx* ctx, uint32_t* left, uint32_t* right);

bool EngEncryptionEncryptDataUsingBlowfishEncryption(const char* key, void* data, EngUInt32 n);
bool EngEncryptionEncryptDataUsingBlowfishEncryptionNew(const char* key, void* data, EngUInt32 n);
bool EngEncryptionDecryptDataUsingBlowfishEncryption(const char* key, void* data, EngUInt32 n);
bool EngEncryptionDecryptDataUsingBlowfishEncryptionNew(const char* key, void* data, EngUInt32 n);
