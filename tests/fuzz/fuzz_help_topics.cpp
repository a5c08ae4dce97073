// The help page read by the help window: any bytes give topics whose text
// holds no markup, and the keyword index built from them is sorted and
// searchable.
#include "FuzzSupport.h"
#include "common/HelpTopics.h"

#include <cctype>

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string page = fuzz::Text(data, size);
  const std::vector<HelpTopic> topics = ParseHelpTopics(page);
  for (const HelpTopic& topic : topics) {
    FUZZ_CHECK(topic.text.find("\r\n\r\n\r\n") == std::string::npos);
    FUZZ_CHECK(topic.title.find('\n') == std::string::npos);
    for (const std::string& keyword : topic.keywords) FUZZ_CHECK(!keyword.empty());
  }
  const std::vector<HelpIndexEntry> index = HelpIndex(topics);
  for (const HelpIndexEntry& entry : index) {
    FUZZ_CHECK(entry.topic < topics.size());
    FUZZ_CHECK(FirstIndexMatch(index, entry.keyword) < index.size());
  }
  return 0;
}
