// AES counter mode with a stored counter, file helpers, and Blowfish.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "EngDebug.h"
#include "EngEncryption.h"
#include "EngMain.h"
#include "EngFile.h"
#include "support/TestSupport.h"

using vztest::Logged;
using vztest::ReadFile;
using vztest::TempDir;
using vztest::WriteFile;

namespace
{

std::vector<unsigned char> Pattern(size_t n)
{
    std::vector<unsigned char> v(n);
    for (size_t i = 0; i < n; i++)
        v[i] = static_cast<unsigned char>(i * 7 + 3);
    return v;
}

std::vector<unsigned char> Hex(const char* hex)
{
    std::vector<unsigned char> v;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2)
        v.push_back(static_cast<unsigned char>(std::stoi(std::string(hex + i, 2), nullptr, 16)));
    return v;
}

// Decrypts counter || data in place under the current key; the plaintext.
std::vector<unsigned char> DecryptWithCounter(const std::vector<unsigned char>& counter,
                                              const std::vector<unsigned char>& data)
{
    std::vector<unsigned char> block(counter);
    block.insert(block.end(), data.begin(), data.end());
    block.push_back(0xEE); // the terminator's room
    EXPECT_TRUE(EngEncryptionDecrypt(block.data(), EngUInt32(data.size())));
    EXPECT_EQ(0, block[data.size()]);
    return std::vector<unsigned char>(block.begin(), block.begin() + long(data.size()));
}

// AES-128 counter mode, NIST SP 800-38A F.5.1: key, then each block's
// counter, plaintext and ciphertext.
const char* const kNistKey = "2b7e151628aed2a6abf7158809cf4f3c";
const struct
{
    const char *counter, *plain, *cipher;
} kNistBlocks[] = {
    {"f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff", "6bc1bee22e409f96e93d7e117393172a", "874d6191b620e3261bef6864990db6ce"},
    {"f0f1f2f3f4f5f6f7f8f9fafbfcfdff00", "ae2d8a571e03ac9c9eb76fac45af8e51", "9806f66b7970fdff8617187bb9fffdff"},
    {"f0f1f2f3f4f5f6f7f8f9fafbfcfdff01", "30c81c46a35ce411e5fbc1191a0a52ef", "5ae4df3edbd5d35e5b4f09020db03eab"},
    {"f0f1f2f3f4f5f6f7f8f9fafbfcfdff02", "f69f2445df4f9b17ad2b417be66c3710", "1e031dda2fbe03d1792170a0f3009cee"},
};

std::string NistPassword()
{
    std::vector<unsigned char> key = Hex(kNistKey);
    return std::string(key.begin(), key.end()); // 16 bytes, none of them zero
}

class Encryption : public vztest::LogTest
{
protected:
    TempDir dir;
};

// Runs first: nothing has set a key yet.
TEST_F(Encryption, RefusesToWorkBeforeInit)
{
    unsigned char data[4] = {1, 2, 3, 4};
    EXPECT_EQ(nullptr, EngEncryptionEncrypt(data, 4));
    EXPECT_TRUE(Logged("( EngEncryptionEncrypt )    Encryption not setup"));
    unsigned char block[21] = {0};
    EXPECT_FALSE(EngEncryptionDecrypt(block, 4));
    EXPECT_EQ(nullptr, EngEncryptionDecryptData(block, 20, nullptr));
}

TEST_F(Encryption, PasswordLengthIsChecked)
{
    char p17[] = "12345678901234567";
    char empty[] = "";
    EXPECT_FALSE(EngEncryptionInit(p17));
    EXPECT_TRUE(Logged("Invalid password"));
    EXPECT_FALSE(EngEncryptionInit(empty));
    EXPECT_FALSE(EngEncryptionInit(nullptr));

    // Sixteen characters are used whole.
    std::string p16 = NistPassword();
    ASSERT_TRUE(EngEncryptionInit(&p16[0]));
    EXPECT_EQ(Hex(kNistBlocks[0].plain), DecryptWithCounter(Hex(kNistBlocks[0].counter), Hex(kNistBlocks[0].cipher)));
}

TEST_F(Encryption, PublishedCounterModeVectors)
{
    std::string key = NistPassword();
    ASSERT_TRUE(EngEncryptionInit(&key[0]));
    for (const auto& b : kNistBlocks)
    {
        SCOPED_TRACE(b.counter);
        EXPECT_EQ(Hex(b.plain), DecryptWithCounter(Hex(b.counter), Hex(b.cipher)));
    }
    // The counter is one little-endian number: the block before the second
    // published counter steps into it at the second block.
    std::vector<unsigned char> before = Hex(kNistBlocks[1].counter);
    before[0]--;
    std::vector<unsigned char> data(16, 0);
    std::vector<unsigned char> second = Hex(kNistBlocks[1].cipher);
    data.insert(data.end(), second.begin(), second.end());
    std::vector<unsigned char> plain = DecryptWithCounter(before, data);
    EXPECT_EQ(Hex(kNistBlocks[1].plain), std::vector<unsigned char>(plain.begin() + 16, plain.end()));
}

TEST_F(Encryption, RoundTripsAndUsesAFreshCounterEachTime)
{
    char pw[] = "secret";
    ASSERT_TRUE(EngEncryptionInit(pw));
    for (size_t n : {size_t(1), size_t(15), size_t(16), size_t(17), size_t(1000)})
    {
        SCOPED_TRACE(n);
        std::vector<unsigned char> plain = Pattern(n);
        unsigned char* a = static_cast<unsigned char*>(EngEncryptionEncrypt(plain.data(), EngUInt32(n)));
        unsigned char* b = static_cast<unsigned char*>(EngEncryptionEncrypt(plain.data(), EngUInt32(n)));
        ASSERT_NE(nullptr, a);
        ASSERT_NE(nullptr, b);
        EXPECT_NE(0, memcmp(a, b, 16)) << "counters differ";
        EXPECT_NE(0, memcmp(a + 16, b + 16, n)) << "ciphertexts differ";
        EngUInt32 got_n = 0;
        unsigned char* back =
            static_cast<unsigned char*>(EngEncryptionDecryptData(a, EngUInt32(n + 16), &got_n));
        ASSERT_NE(nullptr, back);
        EXPECT_EQ(n, got_n);
        EXPECT_EQ(0, memcmp(back, plain.data(), n));
        EXPECT_EQ(0, back[n]);
        EngFree(back, 0, "test");
        // In place, into the front of the block.
        ASSERT_TRUE(EngEncryptionDecrypt(b, EngUInt32(n)));
        EXPECT_EQ(0, memcmp(b, plain.data(), n));
        EXPECT_EQ(0, b[n]);
        free(a);
        free(b);
    }
}

TEST_F(Encryption, ShortPasswordsAreZeroPaddedAndTheCounterCarries)
{
    // Keystream under the key "secret" and ten zero bytes, for the counter
    // ff ff 00 .. 00 and the next one, 00 00 01 00 .. 00 (computed with
    // another AES implementation).
    char pw[] = "secret";
    ASSERT_TRUE(EngEncryptionInit(pw));
    std::vector<unsigned char> counter = Hex("ffff0000000000000000000000000000");
    std::vector<unsigned char> expected = Hex("072669b8ea404857c4f54a978cb05431aec5514b");
    EXPECT_EQ(expected, DecryptWithCounter(counter, std::vector<unsigned char>(20, 0)));

    // Encrypting stores the counter in front and uses the same keystream.
    std::vector<unsigned char> plain = Pattern(20);
    unsigned char* block = static_cast<unsigned char*>(EngEncryptionEncrypt(plain.data(), 20));
    ASSERT_NE(nullptr, block);
    std::vector<unsigned char> front(block, block + 16), body(block + 16, block + 36);
    std::vector<unsigned char> keystream = DecryptWithCounter(front, std::vector<unsigned char>(20, 0));
    for (int i = 0; i < 20; i++)
        EXPECT_EQ(plain[i] ^ keystream[i], body[i]) << i;
    free(block);
}

TEST_F(Encryption, BadInputIsRefused)
{
    char pw[] = "secret";
    ASSERT_TRUE(EngEncryptionInit(pw));
    unsigned char data[32] = {0};
    EXPECT_EQ(nullptr, EngEncryptionEncrypt(nullptr, 4));
    EXPECT_EQ(nullptr, EngEncryptionEncrypt(data, 0));
    EXPECT_TRUE(Logged("Invalid data"));
    // Sizes whose block length would wrap around 32 bits.
    EXPECT_EQ(nullptr, EngEncryptionEncrypt(data, 0xFFFFFFF5u));
    EXPECT_FALSE(EngEncryptionDecrypt(data, 0xFFFFFFF0u));
    EXPECT_EQ(nullptr, EngEncryptionDecryptData(data, 15, nullptr));
    EXPECT_EQ(nullptr, EngEncryptionDecryptData(nullptr, 20, nullptr));
}

TEST_F(Encryption, FilesRoundTripAndSizeMismatchIsRefusedBeforeReading)
{
    char pw[] = "filekey";
    ASSERT_TRUE(EngEncryptionInit(pw));
    std::string path = dir.File("data.bin");
    std::vector<unsigned char> plain = Pattern(40);
    ASSERT_TRUE(EngEncryptionEncryptAndWriteToFile(path.c_str(), plain.data(), 40));
    EXPECT_EQ(56u, ReadFile(path).size());
    EXPECT_FALSE(vztest::FileExists(path + ".tmp"));
    EXPECT_TRUE(EngEncryptionCheckEncryptedFileSizeOk(path.c_str(), 40));
    EXPECT_FALSE(EngEncryptionCheckEncryptedFileSizeOk(path.c_str(), 41));
    EXPECT_FALSE(EngEncryptionCheckEncryptedFileSizeOk(dir.File("none").c_str(), 40));
    std::vector<unsigned char> out(40, 0xAA);
    ASSERT_TRUE(EngEncryptionReadFromFileAndDecrypt(path.c_str(), out.data(), 40));
    EXPECT_EQ(plain, out);

    WriteFile(path, ReadFile(path) + "x");
    std::vector<unsigned char> untouched(40, 0xAA);
    EXPECT_FALSE(EngEncryptionReadFromFileAndDecrypt(path.c_str(), untouched.data(), 40));
    EXPECT_TRUE(Logged("Bad size in file <" + path + ">"));
    EXPECT_EQ(std::vector<unsigned char>(40, 0xAA), untouched);
    // A size that would wrap when the counter is added.
    EXPECT_FALSE(EngEncryptionReadFromFileAndDecrypt(path.c_str(), untouched.data(), 0xFFFFFFFFu));
    EXPECT_EQ(std::vector<unsigned char>(40, 0xAA), untouched);
}

TEST_F(Encryption, OpenFilesHoldSeveralRecords)
{
    char pw[] = "openkey";
    ASSERT_TRUE(EngEncryptionInit(pw));
    std::string path = dir.File("two.bin");
    std::vector<unsigned char> a = Pattern(10), b = Pattern(33);
    {
        EngFile f;
        ASSERT_TRUE(f.CreateForWriting(path.c_str(), 0));
        EXPECT_TRUE(EngEncryptionEncryptAndWriteToOpenFile(&f, a.data(), 10));
        EXPECT_TRUE(EngEncryptionEncryptAndWriteToOpenFile(&f, b.data(), 33));
        f.Close();
    }
    EngFile f;
    ASSERT_TRUE(f.OpenForReading(path.c_str(), 0));
    EXPECT_TRUE(EngEncryptionCheckOpenEncryptedFileSizeOk(&f, 10 + 16 + 33));
    EXPECT_FALSE(EngEncryptionCheckOpenEncryptedFileSizeOk(nullptr, 10));
    std::vector<unsigned char> ra(10), rb(33);
    EXPECT_TRUE(EngEncryptionReadFromOpenFileAndDecrypt(&f, ra.data(), 10));
    EXPECT_TRUE(EngEncryptionReadFromOpenFileAndDecrypt(&f, rb.data(), 33));
    EXPECT_EQ(a, ra);
    EXPECT_EQ(b, rb);
    EXPECT_FALSE(EngEncryptionReadFromOpenFileAndDecrypt(&f, ra.data(), 10)) << "nothing left";
}

TEST_F(Encryption, FileWritesReplaceOnlyRegularFilesAndNeverFollowAPlantedTemporary)
{
    char pw[] = "filekey";
    ASSERT_TRUE(EngEncryptionInit(pw));
    std::vector<unsigned char> plain = Pattern(24);
    WriteFile(dir.File("victim"), "victim");
    struct
    {
        const char* name;
        std::function<void(const std::string&)> make; // what is at the path
        bool written;
    } const cases[] = {
        {"nothing", [](const std::string&) {}, true},
        {"old file", [](const std::string& p) { WriteFile(p, "old"); }, true},
        {"old file and a planted temporary link",
         [&](const std::string& p)
         {
             WriteFile(p, "old");
             ASSERT_EQ(symlink(dir.File("victim").c_str(), (p + ".tmp").c_str()), 0);
         },
         true},
        {"link to a file",
         [&](const std::string& p) { ASSERT_EQ(symlink(dir.File("victim").c_str(), p.c_str()), 0); }, false},
        {"link to a device", [](const std::string& p) { ASSERT_EQ(symlink("/dev/null", p.c_str()), 0); },
         false},
        {"FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }, false},
        {"folder", [](const std::string& p) { ASSERT_EQ(mkdir(p.c_str(), 0755), 0); }, false},
    };
    int n = 0;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string path = dir.File("enc" + std::to_string(n++));
        c.make(path);
        struct stat before, after;
        bool existed = lstat(path.c_str(), &before) == 0;
        DebugClearLog();
        EXPECT_EQ(EngEncryptionEncryptAndWriteToFile(path.c_str(), plain.data(), 24), c.written);
        ASSERT_EQ(lstat(path.c_str(), &after), 0);
        if (c.written)
        {
            EXPECT_TRUE(S_ISREG(after.st_mode));
            std::vector<unsigned char> out(24);
            EXPECT_TRUE(EngEncryptionReadFromFileAndDecrypt(path.c_str(), out.data(), 24));
            EXPECT_EQ(out, plain);
        }
        else
        {
            EXPECT_TRUE(Logged("Not a regular file <" + path + ">"));
            EXPECT_TRUE(Logged("Could not write to file <" + path + ">"));
            ASSERT_TRUE(existed);
            EXPECT_EQ(after.st_ino, before.st_ino) << "left in place";
            EXPECT_EQ(after.st_mode, before.st_mode);
        }
    }
    EXPECT_EQ(ReadFile(dir.File("victim")), "victim");
}

class BlowFish : public vztest::LogTest
{
};

TEST_F(BlowFish, PublishedVectors)
{
    struct Case
    {
        unsigned char key[8];
        uint32_t pl, pr, cl, cr;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 0x4EF99745, 0x6198DD78},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFF, 0xFFFFFFFF, 0x51866FD5, 0xB85ECB8A},
        {{0x30, 0, 0, 0, 0, 0, 0, 0}, 0x10000000, 0x00000001, 0x7D856F9A, 0x613063F2},
    };
    for (const Case& c : cases)
    {
        BlowFishCtx ctx;
        unsigned char key[8];
        memcpy(key, c.key, 8);
        BlowFishInit(&ctx, key, 8);
        uint32_t l = c.pl, r = c.pr;
        BlowFishEncrypt(&ctx, &l, &r);
        EXPECT_EQ(c.cl, l);
        EXPECT_EQ(c.cr, r);
        BlowFishDecrypt(&ctx, &l, &r);
        EXPECT_EQ(c.pl, l);
        EXPECT_EQ(c.pr, r);
    }
}

TEST_F(BlowFish, DataIsBlockByBlockBigEndianWithTailUntouched)
{
    const char key[] = "12345678";
    unsigned char data[20];
    for (int i = 0; i < 20; i++)
        data[i] = static_cast<unsigned char>(i < 16 ? i % 8 : 0xE0 + i);
    unsigned char orig[20];
    memcpy(orig, data, 20);
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption(key, data, 20));
    // Electronic code book: equal blocks give equal ciphertext.
    EXPECT_EQ(0, memcmp(data, data + 8, 8));
    EXPECT_NE(0, memcmp(data, orig, 8));
    EXPECT_EQ(0, memcmp(data + 16, orig + 16, 4));
    BlowFishCtx ctx;
    unsigned char kb[8];
    memcpy(kb, key, 8);
    BlowFishInit(&ctx, kb, 8);
    uint32_t l = 0x00010203, r = 0x04050607;
    BlowFishEncrypt(&ctx, &l, &r);
    const unsigned char want[8] = {static_cast<unsigned char>(l >> 24), static_cast<unsigned char>(l >> 16),
                                   static_cast<unsigned char>(l >> 8),  static_cast<unsigned char>(l),
                                   static_cast<unsigned char>(r >> 24), static_cast<unsigned char>(r >> 16),
                                   static_cast<unsigned char>(r >> 8),  static_cast<unsigned char>(r)};
    EXPECT_EQ(0, memcmp(want, data, 8));
    ASSERT_TRUE(EngEncryptionDecryptDataUsingBlowfishEncryptionNew(key, data, 20));
    EXPECT_EQ(0, memcmp(orig, data, 20));
}

TEST_F(BlowFish, BadKeyOrShortDataChangesNothing)
{
    unsigned char data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const unsigned char orig[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_FALSE(EngEncryptionEncryptDataUsingBlowfishEncryption("1234567", data, 8));
    EXPECT_TRUE(Logged("Invalid key."));
    EXPECT_FALSE(EngEncryptionEncryptDataUsingBlowfishEncryptionNew(nullptr, data, 8));
    EXPECT_FALSE(EngEncryptionDecryptDataUsingBlowfishEncryption("12345678", data, 7));
    EXPECT_TRUE(Logged("Invalid data (must be at least 8 bytes long)."));
    EXPECT_EQ(0, memcmp(orig, data, 8));
}

} // namespace
