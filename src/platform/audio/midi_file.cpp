// Standard MIDI files: a header chunk "MThd" and track chunks "MTrk" of delta-timed events. Every
// event is checked, and the piece is measured by its tempo changes (or its SMPTE division).
#include "platform/audio/midi_file.h"

#include <algorithm>
#include <cstring>

namespace platform::audio {

namespace {

std::uint32_t Be32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}
std::uint16_t Be16(const std::uint8_t* p) {
    return std::uint16_t((p[0] << 8) | p[1]);
}

struct TempoChange {
    std::uint64_t tick;
    std::uint32_t microsPerQuarter;
};

bool ReadVarLength(const std::uint8_t*& p, const std::uint8_t* end, std::uint32_t* value) {
    *value = 0;
    for (int i = 0; i < 4; ++i) {
        if (p >= end) return false;
        const std::uint8_t b = *p++;
        *value = (*value << 7) | (b & 0x7F);
        if (!(b & 0x80)) return true;
    }
    return false;
}

// Walks one track's events; false when they do not parse.
bool ParseTrack(const std::uint8_t* p, const std::uint8_t* end, std::vector<TempoChange>* tempos,
                std::uint64_t* lastTick) {
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    while (p < end) {
        std::uint32_t delta;
        if (!ReadVarLength(p, end, &delta) || p >= end) return false;
        tick += delta;
        std::uint8_t status = *p;
        if (status & 0x80)
            ++p;
        else if (running)
            status = running;
        else
            return false;
        if (status == 0xFF) {
            if (p >= end) return false;
            const std::uint8_t type = *p++;
            std::uint32_t length;
            if (!ReadVarLength(p, end, &length) || length > std::uint32_t(end - p)) return false;
            if (type == 0x51 && length == 3)
                tempos->push_back({tick, (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2]});
            p += length;
            *lastTick = std::max(*lastTick, tick);
            if (type == 0x2F) return true;  // end of track: whatever follows is not played
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            std::uint32_t length;
            if (!ReadVarLength(p, end, &length) || length > std::uint32_t(end - p)) return false;
            p += length;
        } else if (status > 0xF0) {
            return false;  // system messages do not belong in a file
        } else {
            running = status;
            const int data = ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) ? 1 : 2;
            for (int i = 0; i < data; ++i) {
                if (p >= end || (*p & 0x80)) return false;
                ++p;
            }
        }
        *lastTick = std::max(*lastTick, tick);
    }
    return true;
}

}  // namespace

bool ParseMidi(const std::vector<std::uint8_t>& d, double* seconds) {
    if (d.size() < 14 || std::memcmp(d.data(), "MThd", 4) != 0) return false;
    const std::uint32_t headerLength = Be32(&d[4]);
    if (headerLength < 6 || headerLength > d.size() - 8) return false;
    const std::uint16_t format = Be16(&d[8]);
    const std::uint16_t tracks = Be16(&d[10]);
    const std::uint16_t division = Be16(&d[12]);
    if (format > 2 || tracks == 0 || division == 0) return false;

    std::vector<TempoChange> tempos;
    std::uint64_t lastTick = 0;
    std::size_t pos = 8 + std::size_t(headerLength);
    for (int found = 0; found < tracks;) {
        if (d.size() - pos < 8) return false;
        const std::uint32_t length = Be32(&d[pos + 4]);
        const bool track = std::memcmp(&d[pos], "MTrk", 4) == 0;
        pos += 8;
        if (length > d.size() - pos) return false;
        if (track) {
            if (!ParseTrack(&d[pos], &d[pos] + length, &tempos, &lastTick)) return false;
            ++found;
        }
        pos += length;
    }

    if (division & 0x8000) {
        const int framesPerSecond = -int(std::int8_t(division >> 8));
        const int ticksPerFrame = division & 0xFF;
        if (framesPerSecond <= 0 || ticksPerFrame == 0) return false;
        *seconds = double(lastTick) / (double(framesPerSecond) * ticksPerFrame);
        return true;
    }
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    double micros = 0;
    std::uint64_t at = 0;
    std::uint32_t tempo = 500000;
    for (const TempoChange& t : tempos) {
        if (t.tick > lastTick) break;
        micros += double(t.tick - at) * tempo / division;
        at = t.tick;
        tempo = t.microsPerQuarter;
    }
    micros += double(lastTick - at) * tempo / division;
    *seconds = micros / 1e6;
    return true;
}

}  // namespace platform::audio
