#include "CurlInterface.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngInternet.h"
#include "EngMain.h"
#include "EngMutex.h"

char ci_curl_setup = 0;

namespace
{
// Without a total limit a transfer still ends when it moves less than a byte
// a second for this long, or cannot connect within it.
const long CI_STALL_SECONDS = 30;
const char* CI_OWNER = "CurlInterface::DownloadFromUrl";
const long CI_MAX_REDIRECTS = 5;

// A stop request ends the transfer even while no data arrives.
int StopCheckCB(void* object, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<CurlInterface*>(object)->IsExitRequested() ? 1 : 0;
}
} // namespace

char CurlInterface_InitCurl()
{
    if (ci_curl_setup)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Already setup.");
        return 1;
    }
    if (curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "curl_global_init() failed.");
        return 0;
    }
    ci_curl_setup = 1;
    return 1;
}

char CurlInterface_IsCurlInitialised()
{
    return ci_curl_setup;
}

void CurlInterface_ExitCurl()
{
    if (ci_curl_setup)
    {
        curl_global_cleanup();
        ci_curl_setup = 0;
    }
}

void* CurlInterface_CallCurlEasyInit()
{
    if (!ci_curl_setup)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Curl is not setup.");
        return nullptr;
    }
    CURL* c = curl_easy_init();
    if (!c)
        DebugErrorAlt(__PRETTY_FUNCTION__, "curl_easy_init() failed.");
    return c;
}

char CurlInterface_SetWebOptions(void* curl, const char* url, const char* protocols)
{
    CURL* c = (CURL*)curl;
    // Only web addresses: a URL must not read local files.
    return EngInternetSetCurlOptions(c, url, protocols) &&
           curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
           curl_easy_setopt(c, CURLOPT_MAXREDIRS, CI_MAX_REDIRECTS) == CURLE_OK &&
           curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L) == CURLE_OK;
}

char CurlInterface_IsReplySuccessful(void* curl)
{
    long status = 0;
    if (!curl || !EngInternetIsReplySuccessful(curl) ||
        curl_easy_getinfo((CURL*)curl, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK)
        return 0;
    return status == 200 ? 1 : 0;
}

CurlInterface::CurlInterface(const char* n, char verb)
    : data(nullptr), size(0), capacity(0), strip_newlines(0), file(nullptr), doing_perform(0),
      curl_e(nullptr), verbose(0), self(nullptr), lock(new EngMutex()), exiting(0), magic(0)
{
    lock->Lock();
    doing_perform = 0;
    exiting = 0;
    EngSafeStrcpy(name, n && n[0] ? n : "CurlI", sizeof(name));
    magic = CURLI_MAGIC;
    file = nullptr;
    curl_e = nullptr;
    self = this;
    verbose = verb;
    lock->Unlock();
}

CurlInterface::~CurlInterface()
{
    ExitWithWait();
    magic = 0;
    self = nullptr;
    delete lock;
}

int CurlInterface::SetCommonOptions(const char* full_url, int seconds, char to_file)
{
    CURL* c = (CURL*)curl_e;
    int step = 0;
    lock->Lock();
    if (curl_easy_setopt(c, CURLOPT_WRITEDATA, this) == CURLE_OK)
    {
        step = 1;
        auto fn = to_file ? WriteFileFunctionCB_Static : WriteDataFunctionCB_Static;
        if (curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, fn) == CURLE_OK)
        {
            step = 2;
            if (CurlInterface_SetWebOptions(c, full_url, "http,https") &&
                curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L) == CURLE_OK &&
                curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, StopCheckCB) == CURLE_OK &&
                curl_easy_setopt(c, CURLOPT_XFERINFODATA, this) == CURLE_OK)
            {
                step = 3;
                long total = seconds > 0 ? seconds : 0;
                if (curl_easy_setopt(c, CURLOPT_TIMEOUT, total) == CURLE_OK &&
                    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L) == CURLE_OK &&
                    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME,
                                     seconds > 0 ? (long)seconds : CI_STALL_SECONDS) == CURLE_OK)
                {
                    step = 4;
                    long connect = seconds > 0 ? seconds : CI_STALL_SECONDS;
                    // Peers stay verified for both kinds of transfer.
                    if (curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, connect) == CURLE_OK)
                        step = 5;
                }
            }
        }
    }
    lock->Unlock();
    return step;
}

char CurlInterface::CreateHandle(const char* func)
{
    if (curl_e)
    {
        DebugErrorAlt(func, "m_curl_e already exists.");
        return 1;
    }
    lock->Lock();
    curl_e = curl_easy_init();
    lock->Unlock();
    if (!curl_e)
    {
        DebugErrorAlt(func, "curl_easy_init() failed");
        Exit();
        return 0;
    }
    return 1;
}

std::string CurlInterface::FullUrl(const char* url, const char* query)
{
    std::string full = url;
    if (query)
        full += std::string("?") + query;
    if (verbose)
        printf("Downloading from: <%s>\n", full.c_str());
    return full;
}

CURLcode CurlInterface::Perform(const char* func, int* step)
{
    if (doing_perform || exiting)
        DebugErrorAlt(func, "m_doing_perform = %d,  m_exiting = %d", (int)doing_perform, (int)exiting);
    lock->Lock();
    doing_perform = 1;
    exiting = 0;
    lock->Unlock();
    CURLcode rc = CURLE_FAILED_INIT;
    if (*step == 5)
    {
        rc = curl_easy_perform((CURL*)curl_e);
        *step = 10;
        // A 3xx page with nowhere to go, say, is no download.
        if ((rc == CURLE_OK || rc == CURLE_WRITE_ERROR) && !CurlInterface_IsReplySuccessful(curl_e))
            rc = CURLE_HTTP_RETURNED_ERROR;
    }
    lock->Lock();
    doing_perform = 0;
    lock->Unlock();
    return rc;
}

char CurlInterface::DownloadFromUrl(const char* url, const char* query, unsigned max_bytes, char strip,
                                    int seconds, char* stopped)
{
    if (!ci_curl_setup)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Curl is not setup.");
        return 0;
    }
    Exit();
    if (!url || !url[0] || max_bytes == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Parameters error.");
        return 0;
    }
    if (stopped)
        *stopped = 0;
    data = (char*)EngMalloc((size_t)max_bytes + 1, CI_OWNER, 1);
    if (!data)
        return 0;
    if (!CreateHandle(__PRETTY_FUNCTION__))
        return 0;
    std::string full = FullUrl(url, query);

    file = nullptr;
    strip_newlines = strip;
    capacity = max_bytes;
    size = 0;

    int step = SetCommonOptions(full.c_str(), seconds, 0);
    CURLcode rc = Perform(__PRETTY_FUNCTION__, &step);

    if (exiting)
    {
        if (verbose)
            DebugInfo("Done as exiting.");
        if (stopped)
            *stopped = 1;
        Exit();
        return 0;
    }
    CleanupHandles();

    if (step == 10 && rc == CURLE_ABORTED_BY_CALLBACK)
    {
        Exit();
        return 0;
    }
    if (step == 10 && rc == CURLE_WRITE_ERROR && capacity > 0 && size == capacity - 1)
    {
        if (verbose)
            DebugInfo("More data available to download is ignored.");
        return 1;
    }
    if (step == 10 && rc == CURLE_OK)
        return 1;
    if (exiting)
    {
        if (stopped)
            *stopped = 1;
    }
    else if (step == 10 && rc == CURLE_COULDNT_CONNECT)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not connect.");
    else
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem ( from: %d  error: %d (%s) )", step, (int)rc,
                      curl_easy_strerror(rc));
    Exit();
    return 0;
}

char CurlInterface::DownloadFromUrlToFile(const char* url, const char* query, const char* path, int seconds,
                                          char* stopped)
{
    if (!ci_curl_setup)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Curl is not setup.");
        return 0;
    }
    Exit();
    if (!url || !url[0] || !path || !path[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Parameters error.");
        return 0;
    }
    if (stopped)
        *stopped = 0;
    if (!CreateHandle(__PRETTY_FUNCTION__))
        return 0;
    std::string full = FullUrl(url, query);

    if (EngFileExists(path))
        EngFileDelete(path, 1);
    file = new EngFile();
    if (!file->OpenForWriting(path, 0))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create file for downloading <%s>", path);
        Exit();
        return 0;
    }
    capacity = 0;
    size = 0;
    strip_newlines = 0;

    int step = SetCommonOptions(full.c_str(), seconds, 1);
    CURLcode rc = Perform(__PRETTY_FUNCTION__, &step);

    // Data still buffered that cannot be written is a failed download.
    char closed = file->Close();
    delete file;
    file = nullptr;
    if (rc == CURLE_OK && !closed)
        rc = CURLE_WRITE_ERROR;

    if (exiting)
    {
        if (verbose)
            DebugInfo("Done as exiting.");
        if (stopped)
            *stopped = 1;
        EngFileDelete(path, 0);
        Exit();
        return 0;
    }
    CleanupHandles();
    if (step == 10 && rc == CURLE_OK)
        return 1;
    EngFileDelete(path, 0);
    if (step == 10 && rc == CURLE_ABORTED_BY_CALLBACK)
    {
        Exit();
        return 0;
    }
    if (exiting)
    {
        if (stopped)
            *stopped = 1;
        return 0;
    }
    if (step == 10 && rc == CURLE_COULDNT_CONNECT)
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not connect.");
    else
        DebugErrorAlt(__PRETTY_FUNCTION__, "Problem (from: %d  error: %d)", step, (int)rc);
    Exit();
    return 0;
}

size_t CurlInterface::WriteDataFunctionCB_Static(void* d, size_t s, size_t n, void* object)
{
    if (!object)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No context.");
        return 0;
    }
    return static_cast<CurlInterface*>(object)->WriteDataFunctionCB(d, s, n);
}

size_t CurlInterface::WriteFileFunctionCB_Static(void* d, size_t s, size_t n, void* object)
{
    if (!object)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No context.");
        return 0;
    }
    return static_cast<CurlInterface*>(object)->WriteFileFunctionCB(d, s, n);
}

char CurlInterface::CallbackReady(const char* func)
{
    if (!ci_curl_setup)
    {
        DebugErrorAlt(func, "Curl is not setup.");
        return 0;
    }
    if (magic != CURLI_MAGIC)
    {
        DebugErrorAlt(func, "Class not setup. [%d] ...", magic);
        DebugErrorAlt(func, "                 [%s] .", name);
        return 0;
    }
    return 1;
}

size_t CurlInterface::WriteDataFunctionCB(void* d, size_t s, size_t n)
{
    if (!CallbackReady(__PRETTY_FUNCTION__) || !CurlInterface_IsReplySuccessful(curl_e))
        return 0;
    size_t len = s * n;
    if (len == 0 || exiting)
        return 0;
    if (!data || capacity == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No data");
        return 0;
    }
    size_t room = capacity - 1 - size;
    if (len > room)
    {
        if (s != 1)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Expected a size of 1");
            return 0;
        }
        if (room == 0)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Nothing left to write");
            return 0;
        }
        len = room;
    }
    memcpy(data + size, d, len);
    size += (unsigned)len;
    data[size] = 0;
    return len;
}

size_t CurlInterface::WriteFileFunctionCB(void* d, size_t s, size_t n)
{
    if (!CallbackReady(__PRETTY_FUNCTION__) || !CurlInterface_IsReplySuccessful(curl_e))
        return 0;
    if (!file)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No fp.");
        return 0;
    }
    size_t len = s * n;
    if (len == 0 || exiting)
        return 0;
    EngUInt32 written = file->FWrite(d, (EngUInt32)len);
    size += written;
    return written;
}

unsigned CurlInterface::StrippedOffset()
{
    if (!strip_newlines || !data || size == 0)
        return 0;
    if (size == 1)
        return data[0] == '\n' ? 1 : 0;
    if (data[0] == '\n')
        return data[1] == '\n' ? 2 : 1;
    return 0;
}

char* CurlInterface::GetDownloadedData()
{
    if (!data || size == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No Data");
        return nullptr;
    }
    return data + StrippedOffset();
}

unsigned CurlInterface::GetDownloadedDataSize()
{
    if (!data)
        return 0;
    return size - StrippedOffset();
}

char CurlInterface::IsBusy()
{
    return doing_perform;
}

void CurlInterface::CleanupHandles()
{
    if (doing_perform)
    {
        if (!exiting)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "Exiting not on.");
            lock->Lock();
            exiting = 1;
            lock->Unlock();
        }
        if (verbose)
            DebugInfo("Will exit when finished performing.");
        return;
    }
    lock->Lock();
    if (curl_e)
    {
        if (ci_curl_setup)
            curl_easy_cleanup((CURL*)curl_e);
        curl_e = nullptr;
    }
    lock->Unlock();
}

void CurlInterface::Exit()
{
    if (self != this)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Already destroyed.");
        return;
    }
    // Without libcurl's set-up the targets are still released.
    if (!ci_curl_setup && (data || file || curl_e))
        DebugErrorAlt(__PRETTY_FUNCTION__, "Curl is not setup.");
    if (exiting && doing_perform)
    {
        if (verbose)
            DebugInfo("Already exiting.");
        return;
    }
    if (verbose)
        DebugInfo("[%s] Exiting1... [dp: %d ex: %d]", name, (int)doing_perform, (int)exiting);
    lock->Lock();
    exiting = 1;
    lock->Unlock();
    CleanupHandles();
    if (doing_perform)
        return;
    if (data)
        EngFree(data, 1, CI_OWNER);
    data = nullptr;
    size = 0;
    capacity = 0;
    if (file)
    {
        file->Close();
        delete file;
        file = nullptr;
    }
    strip_newlines = 0;
    lock->Lock();
    doing_perform = 0;
    exiting = 0;
    lock->Unlock();
    if (verbose)
        DebugInfo("[%s] Exiting done.", name);
}

char CurlInterface::ExitWithWait()
{
    if (self != this)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Already destroyed.");
        return 0;
    }
    if (doing_perform)
    {
        lock->Lock();
        exiting = 1;
        lock->Unlock();
        if (verbose)
            DebugInfo("Waiting for perform to complete...");
        for (int polls = 1; doing_perform; polls++)
        {
            if (polls > 600)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Perform did not complete.");
                return 0;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (self != this)
            {
                DebugErrorAlt(__PRETTY_FUNCTION__, "Destroyed while waiting.");
                return 0;
            }
            if (verbose && polls % 7 == 0)
                DebugInfo("  waiting...");
        }
    }
    Exit();
    return 1;
}
