#include "app/Main_Form.h"

namespace mirel {

const std::array<const char*, 58> Main_Form::kImageTable = {};
void Main_Form::CheckDataFiles() {}
bool Main_Form::RestoreImageHeader(const std::string&, char) { return true; }
bool Main_Form::StoreImageHeader(const std::string&) { return true; }
void Main_Form::RebuildGalleryLine() {}
bool Main_Form::WriteConfig(std::string*) { return true; }

}  // namespace mirel
