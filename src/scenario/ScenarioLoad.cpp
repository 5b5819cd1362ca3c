#include "scenario/ScenarioData.h"

namespace mirel {

Text DamagedData::Message() const { return reason; }
std::string Complement(std::string bytes) { for (auto& b : bytes) b = char(~b); return bytes; }
int16_t NumberField(TextView field) { return ToInt16(field); }
void LoadScenario(const std::string&, ScenarioData&, const std::function<void(int)>&) {}
void LoadScenarioTexts(const std::string&, const std::string&, ScenarioData&, const std::function<void(int)>&) {}

}  // namespace mirel
