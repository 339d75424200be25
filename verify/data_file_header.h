#pragma once

// The structured parts of a data file's header, read from its parsed text into
// the header values: channel list, channel names, group rates, record count and
// start time stamps.

#include <cstdint>
#include <string_view>

#include "profile/profile_text.h"
#include "verify/archive_verifier.h"

namespace verify {

// Splits a comma-separated channel list: channelListCount is the number of
// entries (one more than commas), and the first kMaxChannels numbers are stored
// as their low 8 bits in channelNumbers. An entry without a number reads 0.
void readChannelList(std::string_view listText, FileHeaderValues& values);

// Fills channelNames of the first streamChannels channels (at most 32) from the
// NAME of section "CH<number>", at most 49 characters of which the first 10 are
// kept.
void readChannelNames(const profile::ProfileText& text, FileHeaderValues& values);

// Fills channelRates of the first streamChannels channels (at most 32): -1, then
// each group's FREQ (default -10) for every channel whose number is on the
// group's CH# list while its rate is still -1. Groups run from 1 to groupCount.
void readGroupRates(const profile::ProfileText& text, FileHeaderValues& values);

// Whole records between dataOffset and the end of a file of fileLength bytes,
// (fileLength - dataOffset) divided by the record size truncated toward zero, in
// 32-bit arithmetic; 0 when the record size is not positive.
int32_t countRecords(int64_t fileLength, const FileHeaderValues& values);

// The size in bytes of one data record: REC_SIZE_SEC seconds of 2-byte samples
// of every channel of the stream at the first channel's rate, plus 256 bytes,
// in wrapping 32-bit arithmetic as countRecords takes it; 0 or less for a
// header outside the valid range.
int32_t recordSize(const FileHeaderValues& values);

// Converts DATE_INT/TIME_INT, DATE_EXT/TIME_EXT and DATE_DOS/TIME_DOS into
// startInternal, startExternal and startDos, and keeps TIME_INT's hundredths in
// startHundredths.
void readStartTimes(const profile::ProfileText& text, FileHeaderValues& values);

}  // namespace verify
