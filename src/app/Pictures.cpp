#include "app/Main_Form.h"
#include "base/Files.h"

namespace mirel {

std::string Main_Form::DataPath(const std::string& name) const { return ResolveInDir(DataDir, name); }

bool Main_Form::LoadPicture(Surface& s, const std::string& name) {
  std::string path = DataPath(name);
  std::optional<Bytes> bytes = ReadFile(path);
  if (!bytes) {
    MsgBox(u"実行に必要なﾌｧｲﾙがありません. " + FromUtf8(path));
    return false;
  }
  Image img;
  if (bytes->empty() || !sys.images->Decode(*bytes, img)) {
    // 481: the picture cannot be read (for example still in its stored form).
    MsgBox(u"実行に必要なﾌｧｲﾙが異常です.(" + FromUtf8(path) + u":481)");
    return false;
  }
  s.SetPicture(img);
  return true;
}

}  // namespace mirel
