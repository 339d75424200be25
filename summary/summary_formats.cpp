#include "summary/summary_formats.h"

#include "summary/summary_json.h"

namespace summary {

const std::vector<SummaryFormat>& summaryFormats() {
  static const std::vector<SummaryFormat> kFormats = {{"text", summaryText, dailyText},
                                                      {"json", summaryJson, dailyJson},
                                                      {"csv", summaryCsv, dailyCsv}};
  return kFormats;
}

const SummaryFormat* findSummaryFormat(std::string_view name) {
  for (const SummaryFormat& format : summaryFormats()) {
    if (format.name == name) return &format;
  }
  return nullptr;
}

}  // namespace summary
