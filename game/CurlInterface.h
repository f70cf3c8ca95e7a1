// Downloads over libcurl's easy interface: global set-up, easy handles, and a
// class that fetches one URL into bounded memory or into a file. Another
// thread may ask a running transfer to stop.
#pragma once

#include <atomic>
#include <cstddef>
#include <curl/curl.h>
#include <string>

class EngFile;
class EngMutex;

#define CURLI_NAME_SIZE 12
#define CURLI_MAGIC 123

extern char ci_curl_setup;

char CurlInterface_InitCurl();
char CurlInterface_IsCurlInitialised();
void CurlInterface_ExitCurl();
// A new easy handle (the caller cleans it up), null without set-up.
void* CurlInterface_CallCurlEasyInit();
// Points an easy handle at url with only the given protocols ("http,https"
// or "https"): TLS peers verified, at most a few redirects and only to
// https, HTTP errors fail the transfer, no signals. 0 when an option is
// refused.
char CurlInterface_SetWebOptions(void* curl, const char* url, const char* protocols);
// 1 when the last reply the handle received has the status 200: only such a
// reply's body is the whole file asked for (not "no content", not a part).
char CurlInterface_IsReplySuccessful(void* curl);

class CurlInterface
{
public:
    CurlInterface(const char* name, char verbose);
    ~CurlInterface();
    CurlInterface(const CurlInterface&) = delete;
    CurlInterface& operator=(const CurlInterface&) = delete;

    // Keeps at most max_bytes - 1 bytes of the body; seconds <= 0: no total
    // limit, but a stalled transfer still ends.
    char DownloadFromUrl(const char* url, const char* query, unsigned max_bytes, char strip_newlines,
                         int seconds, char* stopped);
    char DownloadFromUrlToFile(const char* url, const char* query, const char* path, int seconds,
                               char* stopped);

    char* GetDownloadedData();
    unsigned GetDownloadedDataSize();
    char IsBusy();
    char IsExitRequested() const { return exiting; }

    void Exit();
    char ExitWithWait();
    void CleanupHandles();

    static size_t WriteDataFunctionCB_Static(void* data, size_t size, size_t count, void* object);
    static size_t WriteFileFunctionCB_Static(void* data, size_t size, size_t count, void* object);
    size_t WriteDataFunctionCB(void* data, size_t size, size_t count);
    size_t WriteFileFunctionCB(void* data, size_t size, size_t count);

private:
    // Sets the options shared by both kinds of transfer; the step reached.
    int SetCommonOptions(const char* full_url, int seconds, char to_file);
    unsigned StrippedOffset();
    // Whether curl is set up and this object is whole; 0 after logging.
    char CallbackReady(const char* func);
    // Makes the easy handle unless there is one; 0 (after Exit) when it cannot.
    char CreateHandle(const char* func);
    // url with ?query appended when given, printed when verbose.
    std::string FullUrl(const char* url, const char* query);
    // Runs the transfer set up to *step (5 when ready; 10 once performed).
    CURLcode Perform(const char* func, int* step);

    char* data;
    unsigned size;
    unsigned capacity;
    char strip_newlines;
    EngFile* file;
    std::atomic<char> doing_perform;
    char name[CURLI_NAME_SIZE];
    void* curl_e;
    char verbose;
    CurlInterface* self;
    EngMutex* lock;
    std::atomic<char> exiting;
    int magic;
};
