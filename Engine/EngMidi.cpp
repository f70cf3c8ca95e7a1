// Standard MIDI File checks and the playable copy with its end time.
#include "EngMidi.h"

#include "EngDebug.h"
#include "Linux/EngMidi_LNX.h"

namespace
{

EngUInt32 BE(const EngUInt8* p, int bytes)
{
    EngUInt32 v = 0;
    for (int i = 0; i < bytes; i++)
        v = (v << 8) | p[i];
    return v;
}

// Reads a variable-length quantity (at most 4 bytes) inside [pos, end).
char ReadVLQ(const EngUInt8* d, EngUInt32 end, EngUInt32* pos, EngUInt32* value)
{
    EngUInt32 v = 0;
    for (int i = 0; i < 4; i++)
    {
        if (*pos >= end)
            return 0;
        EngUInt8 b = d[(*pos)++];
        v = (v << 7) | (b & 0x7F);
        if (!(b & 0x80))
        {
            *value = v;
            return 1;
        }
    }
    return 0;
}

void PutVLQ(std::vector<EngUInt8>* out, EngUInt32 v)
{
    EngUInt8 bytes[4];
    int n = 0;
    bytes[n++] = v & 0x7F;
    while ((v >>= 7) != 0 && n < 4)
        bytes[n++] = EngUInt8(0x80 | (v & 0x7F));
    while (n > 0)
        out->push_back(bytes[--n]);
}

struct TrackScan
{
    EngInt32 last_event_tick; // -1: no event
    EngInt32 eot_tick;        // tick of the end of track (or of the chunk's end)
    EngUInt32 copy_end;       // offset where the end-of-track event (its delta) starts
};

// Walks every event of one track chunk [start, end). 0 with reason on damage.
char ScanTrack(const EngUInt8* d, EngUInt32 start, EngUInt32 end, TrackScan* scan, const char** reason)
{
    EngUInt32 pos = start;
    EngInt64 tick = 0;
    int status = 0;
    scan->last_event_tick = -1;
    scan->copy_end = end;
    while (pos < end)
    {
        EngUInt32 event_start = pos;
        EngUInt32 delta = 0;
        if (!ReadVLQ(d, end, &pos, &delta))
        {
            *reason = "Bad delta time";
            return 0;
        }
        tick += delta;
        if (tick > 0x7FFFFFFF)
        {
            *reason = "Track too long";
            return 0;
        }
        if (pos >= end)
        {
            *reason = "Event cut short";
            return 0;
        }
        EngUInt8 b = d[pos];
        if (b & 0x80)
            pos++;
        if (b == 0xFF)
        {
            if (pos >= end)
            {
                *reason = "Event cut short";
                return 0;
            }
            EngUInt8 type = d[pos++];
            EngUInt32 len = 0;
            if (!ReadVLQ(d, end, &pos, &len) || len > end - pos)
            {
                *reason = "Meta event past the end of its track";
                return 0;
            }
            pos += len;
            if (type == 0x2F)
            {
                scan->eot_tick = (EngInt32)tick;
                scan->copy_end = event_start;
                return 1;
            }
            scan->last_event_tick = (EngInt32)tick;
            status = 0;
            continue;
        }
        if (b == 0xF0 || b == 0xF7)
        {
            EngUInt32 len = 0;
            if (!ReadVLQ(d, end, &pos, &len) || len > end - pos)
            {
                *reason = "System exclusive event past the end of its track";
                return 0;
            }
            pos += len;
            scan->last_event_tick = (EngInt32)tick;
            status = 0;
            continue;
        }
        if (b >= 0xF0)
        {
            *reason = "Unexpected system message";
            return 0;
        }
        if (b & 0x80)
            status = b;
        else if (!status)
        {
            *reason = "Running status without a status";
            return 0;
        }
        int kind = status & 0xF0;
        EngUInt32 data_bytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
        if (data_bytes > end - pos)
        {
            *reason = "Event cut short";
            return 0;
        }
        for (EngUInt32 i = 0; i < data_bytes; i++)
            if (d[pos + i] & 0x80)
            {
                *reason = "Bad data byte";
                return 0;
            }
        pos += data_bytes;
        scan->last_event_tick = (EngInt32)tick;
    }
    scan->eot_tick = (EngInt32)tick;
    return 1;
}

} // namespace

char EngMidiPrepareFile(const EngUInt8* d, EngUInt32 size, int extra_beats, std::vector<EngUInt8>* out,
                        _EngMidiFileInfo* info)
{
    const char* reason = nullptr;
    if (!d || !out || !info)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid parameters");
        return 0;
    }
    out->clear();
    if (size < 14 || BE(d, 4) != EngFourCC('M', 'T', 'h', 'd'))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not a Standard MIDI File");
        return 0;
    }
    EngUInt32 header_len = BE(d + 4, 4);
    int format = (int)BE(d + 8, 2);
    int tracks = (int)BE(d + 10, 2);
    EngUInt32 division = BE(d + 12, 2);
    if (header_len < 6 || header_len > size - 8 || format > 2 || tracks < 1 || division == 0 ||
        (format == 0 && tracks != 1))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad MIDI file header");
        return 0;
    }
    int ticks_per_beat;
    if (division & 0x8000)
    {
        // Frames per second x ticks per frame; a beat is half a second at the default tempo.
        int fps = 256 - (int)(division >> 8);
        ticks_per_beat = fps * (int)(division & 0xFF) / 2;
    }
    else
        ticks_per_beat = (int)division;
    if (ticks_per_beat < 1)
        ticks_per_beat = 1;

    // Find and check every track.
    EngUInt32 pos = 8 + header_len;
    int found = 0;
    EngUInt32 last_start = 0, last_end = 0, last_header = 0;
    TrackScan last = {-1, 0, 0};
    while (pos < size && found < tracks)
    {
        if (size - pos < 8)
        {
            reason = "Chunk header cut short";
            break;
        }
        EngUInt32 len = BE(d + pos + 4, 4);
        if (len > size - pos - 8)
        {
            reason = "Chunk past the end of the file";
            break;
        }
        if (BE(d + pos, 4) == EngFourCC('M', 'T', 'r', 'k'))
        {
            TrackScan scan;
            if (!ScanTrack(d, pos + 8, pos + 8 + len, &scan, &reason))
                break;
            found++;
            last = scan;
            last_header = pos;
            last_start = pos + 8;
            last_end = pos + 8 + len;
        }
        pos += 8 + len;
    }
    if (!reason && found < tracks)
        reason = "Fewer tracks than the header says";
    if (reason)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "%s", reason);
        return 0;
    }

    info->format = format;
    info->num_tracks = tracks;
    info->ticks_per_beat = ticks_per_beat;
    info->smpte_timing = (division & 0x8000) ? 1 : 0;
    info->last_event_tick = last.last_event_tick;
    info->end_tick = -1;
    if (last.last_event_tick < 0)
    {
        out->assign(d, d + pos);
        return 1;
    }
    EngInt64 extra = extra_beats > 0 ? (EngInt64)extra_beats * ticks_per_beat : 0;
    EngInt64 end_tick = (EngInt64)last.last_event_tick + extra;
    if (end_tick - last.last_event_tick > ENG_MIDI_MAX_DELTA)
        end_tick = (EngInt64)last.last_event_tick + ENG_MIDI_MAX_DELTA;
    if (end_tick > 0x7FFFFFFF)
        end_tick = 0x7FFFFFFF;
    info->end_tick = (EngInt32)end_tick;

    // The copy: everything up to the last track's end-of-track event, which is
    // moved to the later of its own time and the end time.
    EngInt64 eot = last.eot_tick > end_tick ? last.eot_tick : end_tick;
    out->reserve(pos + 8);
    out->assign(d, d + last.copy_end);
    EngUInt32 delta = (EngUInt32)(eot - last.last_event_tick);
    if (delta > ENG_MIDI_MAX_DELTA)
        delta = ENG_MIDI_MAX_DELTA;
    PutVLQ(out, delta);
    out->push_back(0xFF);
    out->push_back(0x2F);
    out->push_back(0x00);
    EngUInt32 new_len = (EngUInt32)(out->size() - last_start);
    for (int i = 0; i < 4; i++)
        (*out)[last_header + 4 + i] = EngUInt8(new_len >> (24 - 8 * i));
    out->insert(out->end(), d + last_end, d + pos);
    return 1;
}

int EngMidiPlaySequenceFromFile(const char* path, int extra_beats)
{
    return EngMidiPlaySequenceFromFile_LNX(path, extra_beats);
}

void EngMidiStop(int slot)
{
    EngMidiStop_LNX(slot);
}

void EngMidiExit()
{
    EngMidiExit_LNX();
}
