// libFuzzer target: a JSON summary read back as disks, as cdcoverage reads
// its inputs. What is read is then summarised and written in every format, and
// its JSON must read back to the same disks.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "summary/distinct_disks.h"
#include "summary/summary_formats.h"
#include "summary/summary_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto read = summary::disksFromSummaryJson(text);
  if (!read) return 0;
  summary::DistinctDisks distinct = summary::distinctDisks(std::move(*read));
  summary::SummaryOptions options;
  options.gapToleranceSeconds = 1;
  const summary::CoverageSummary summary = summary::summarize(distinct.disks, options);
  for (const summary::SummaryFormat& format : summary::summaryFormats()) format.write(summary);
  summary::timelineSvg(summary);

  auto again = summary::disksFromSummaryJson(summary::summaryJson(summary));
  if (!again || again->size() != summary.disks.size()) std::abort();
  const std::vector<survey::DiskRecord>* back = &*again;
  for (std::size_t i = 0; i < back->size(); ++i) {
    if ((*back)[i].name != summary.disks[i].record.name ||
        !summary::sameContent((*back)[i], summary.disks[i].record)) {
      std::abort();
    }
  }
  return 0;
}
