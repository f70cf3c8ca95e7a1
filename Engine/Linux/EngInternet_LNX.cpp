#include "EngInternet_LNX.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngInternet.h"
#include "EngMain.h"
#include "EngMutex.h"

namespace
{

EngMutex* eim_mutex = nullptr;

// What the transfer hooks share with the reader.
struct ReadState
{
    CURL* curl;
    char* work;
    unsigned length; // the caller's buffer length
    unsigned count;
    bool full;
    bool got_header;
    std::chrono::steady_clock::time_point deadline;
    bool timed_out_waiting;
};

size_t WriteCB(char* data, size_t size, size_t n, void* user)
{
    ReadState* st = static_cast<ReadState*>(user);
    size_t bytes = size * n;
    st->got_header = true;
    // The body of an error or a redirect is not the page asked for.
    if (!EngInternetIsReplySuccessful_LNX(st->curl))
        return 0;
    unsigned room = st->length - 1 - st->count;
    size_t take = bytes < room ? bytes : room;
    memcpy(st->work + st->count, data, take);
    st->count += (unsigned)take;
    st->work[st->count] = 0;
    if (take < bytes)
    {
        // The rest of a longer body is not wanted: stop here.
        st->full = true;
        return take;
    }
    return bytes;
}

size_t HeaderCB(char*, size_t size, size_t n, void* user)
{
    static_cast<ReadState*>(user)->got_header = true;
    return size * n;
}

int ProgressCB(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    ReadState* st = static_cast<ReadState*>(user);
    if (!st->got_header && std::chrono::steady_clock::now() >= st->deadline)
    {
        st->timed_out_waiting = true;
        return 1;
    }
    return 0;
}

void SetErrorText(char* error_text, const char* label, const char* text)
{
    if (!error_text)
        return;
    if (label)
        snprintf(error_text, ENG_INTERNET_ERROR_TEXT_SIZE, "%s - %s", label, text);
    else
        snprintf(error_text, ENG_INTERNET_ERROR_TEXT_SIZE, "%s", text);
}

} // namespace

char EngInternetIsConnected_LNX()
{
    return 1;
}

char EngInternetSetCurlOptions_LNX(void* curl, const char* url, const char* protocols)
{
    CURL* c = (CURL*)curl;
    bool ok = curl_easy_setopt(c, CURLOPT_URL, url) == CURLE_OK &&
              curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, protocols) == CURLE_OK &&
              curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "https") == CURLE_OK &&
              curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK &&
              curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK &&
              curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    if (ok && eng_internet_ca_file)
        ok = curl_easy_setopt(c, CURLOPT_CAINFO, eng_internet_ca_file) == CURLE_OK &&
             curl_easy_setopt(c, CURLOPT_CAPATH, (const char*)nullptr) == CURLE_OK;
    return ok ? 1 : 0;
}

char EngInternetIsReplySuccessful_LNX(void* curl)
{
    long status = 0;
    if (curl_easy_getinfo((CURL*)curl, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK)
        return 0;
    return status >= 200 && status <= 299 ? 1 : 0;
}

signed char EngInternetConnectAndReadURL_LNX(const char* url, char* buffer, unsigned length, unsigned* stored,
                                             char* error_text, char* error_label, int seconds)
{
    if (stored)
        *stored = 0;
    if (!url || !url[0] || !buffer || length == 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Parameters Error");
        SetErrorText(error_text, error_label, "Parameters Error");
        return 0;
    }
    buffer[0] = 0;
    if (!eim_mutex)
        eim_mutex = new EngMutex();
    if (seconds <= 0)
        seconds = 10;

    char* work = (char*)EngMalloc((unsigned long)length + 1, "EngInternetConnectAndReadURL", 1);
    if (!work)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory");
        SetErrorText(error_text, error_label, "No memory");
        return 0;
    }

    eim_mutex->Lock();
    static bool global_done = false;
    if (!global_done)
        global_done = curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK;
    CURL* curl = global_done ? curl_easy_init() : nullptr;
    if (!curl)
    {
        eim_mutex->Unlock();
        EngFree(work, 1, "EngInternetConnectAndReadURL");
        DebugErrorAlt(__PRETTY_FUNCTION__, "curl_easy_init() failed");
        SetErrorText(error_text, error_label, "Internal Error EIM:01");
        return 0;
    }

    ReadState st;
    st.curl = curl;
    st.work = work;
    st.length = length;
    st.count = 0;
    st.full = length == 1;
    st.got_header = false;
    st.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    st.timed_out_waiting = false;

    char curl_error[CURL_ERROR_SIZE] = "";
    // Waiting for the reply is bounded by seconds; a body that then stalls
    // for as long, or takes far longer in all, fails too. Redirects are not
    // followed: only a 2xx reply is read.
    long total_limit = seconds * 6L < 30 ? 30 : seconds * 6L;
    bool ok = EngInternetSetCurlOptions_LNX(curl, url, "http,https") &&
              curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteCB) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_WRITEDATA, &st) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, HeaderCB) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_HEADERDATA, &st) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, ProgressCB) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &st) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, (long)seconds) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, (long)seconds) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_TIMEOUT, total_limit) == CURLE_OK &&
              curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, curl_error) == CURLE_OK;
    if (!ok)
    {
        curl_easy_cleanup(curl);
        eim_mutex->Unlock();
        EngFree(work, 1, "EngInternetConnectAndReadURL");
        DebugErrorAlt(__PRETTY_FUNCTION__, "curl_easy_setopt() failed");
        SetErrorText(error_text, error_label, "Internal Error EIM:02");
        return 0;
    }

    bool performed = !st.full;
    CURLcode rc = performed ? curl_easy_perform(curl) : CURLE_OK;
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    bool refused = performed && status != 0 && !EngInternetIsReplySuccessful_LNX(curl);
    curl_easy_cleanup(curl);
    eim_mutex->Unlock();

    signed char result;
    if (st.timed_out_waiting || (rc == CURLE_OPERATION_TIMEDOUT && !st.got_header))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Timeout after %d seconds", seconds);
        SetErrorText(error_text, error_label, "Timeout occured");
        result = 0;
    }
    else if (refused)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "HTTP status %ld", status);
        SetErrorText(error_text, error_label, "Download Problem");
        result = -1;
    }
    else if (rc != CURLE_OK && !(rc == CURLE_WRITE_ERROR && st.full))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Transfer failed: %s",
                      curl_error[0] ? curl_error : curl_easy_strerror(rc));
        SetErrorText(error_text, error_label, "Download Problem");
        result = -1;
    }
    else
        result = 1;

    if (result != 0)
    {
        memcpy(buffer, work, st.count);
        buffer[st.count] = 0;
        if (stored)
            *stored = st.count;
    }
    EngFree(work, 1, "EngInternetConnectAndReadURL");
    return result;
}
