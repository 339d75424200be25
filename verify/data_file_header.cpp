#include "verify/data_file_header.h"

#include <algorithm>
#include <set>

#include "base/ascii_case.h"
#include "base/wrap32.h"
#include "verify/channel_list.h"

namespace verify {

namespace {

constexpr std::size_t kChannelNameBuffer = 50;
constexpr int32_t kNoRate = -1;
constexpr int32_t kAbsentGroupRate = -10;

// The number n of a section named "GROUP<n>" (n as "%d" writes a positive
// number), or 0 when the name is not of that form.
int32_t groupNumberOf(std::string_view sectionName) {
  constexpr std::string_view kGroup = "GROUP";
  if (sectionName.size() <= kGroup.size() || sectionName.size() > kGroup.size() + 10) return 0;
  if (!base::equalsIgnoringCase(sectionName.substr(0, kGroup.size()), kGroup)) return 0;
  const std::string_view digits = sectionName.substr(kGroup.size());
  if (digits.front() == '0') return 0;
  int64_t number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number <= INT32_MAX ? static_cast<int32_t>(number) : 0;
}

// The groups from 1 to groupCount whose reading can change a rate, ascending:
// every group that has a section, and the first that has none. Every group
// without a section reads as FREQ -10 with one empty list entry (channel 0), so
// after the first of them the others change nothing. A damaged N_GROUP of two
// billion thus costs no more than the sections the header really holds.
std::vector<int32_t> groupsWorthReading(const std::vector<std::string>& sectionNames,
                                        int32_t groupCount) {
  std::set<int32_t> present;
  for (const std::string& name : sectionNames) {
    const int32_t g = groupNumberOf(name);
    if (g >= 1 && g <= groupCount) present.insert(g);
  }
  int32_t firstAbsent = 1;
  for (const int32_t g : present) {
    if (g != firstAbsent) break;
    ++firstAbsent;
  }
  if (firstAbsent <= groupCount) present.insert(firstAbsent);
  return std::vector<int32_t>(present.begin(), present.end());
}

// The stream channels whose arrays the header operations fill: streamChannels,
// kept within 0 to kMaxChannels.
int32_t usedChannels(const FileHeaderValues& values) {
  return std::clamp(values.streamChannels, int32_t{0}, kMaxChannels);
}

}  // namespace

void readChannelList(std::string_view listText, FileHeaderValues& values) {
  int32_t entries = 0;
  forEachListEntry(listText, [&](int32_t number) {
    if (entries < kMaxChannels)
      values.channelNumbers[static_cast<std::size_t>(entries)] = channelNumberOf(number);
    ++entries;
  });
  values.channelListCount = entries;
}

void readChannelNames(const profile::ProfileText& text, FileHeaderValues& values) {
  for (int32_t i = 0; i < usedChannels(values); ++i) {
    const auto index = static_cast<std::size_t>(i);
    const std::string section = "CH" + std::to_string(values.channelNumbers[index]);
    values.channelNames[index].fill(text.readString(section, "NAME", kChannelNameBuffer));
  }
}

void readGroupRates(const profile::ProfileText& text, FileHeaderValues& values) {
  const int32_t channels = usedChannels(values);
  std::fill_n(values.channelRates.begin(), channels, kNoRate);
  if (values.groupCount <= 0) return;
  for (const int32_t g : groupsWorthReading(text.sectionNames(), values.groupCount)) {
    const std::string section = "GROUP" + std::to_string(g);
    const int32_t rate = text.readInt(section, "FREQ", kAbsentGroupRate);
    forEachListEntry(text.readString(section, "CH#", kHeaderTextSize), [&](int32_t number) {
      const int8_t listed = channelNumberOf(number);
      for (int32_t i = 0; i < channels; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (values.channelNumbers[index] == listed && values.channelRates[index] == kNoRate)
          values.channelRates[index] = rate;
      }
    });
  }
}

int32_t recordSize(const FileHeaderValues& values) {
  return base::wrapAdd(
      base::wrapMul(base::wrapMul(base::wrapMul(values.recordSeconds, values.channelRates[0]),
                                  values.streamChannels),
                    2),
      256);
}

int32_t countRecords(int64_t fileLength, const FileHeaderValues& values) {
  const int32_t size = recordSize(values);
  if (size <= 0) return 0;
  return base::wrapSub(base::wrapToInt32(fileLength), values.dataOffset) / size;
}

}  // namespace verify
