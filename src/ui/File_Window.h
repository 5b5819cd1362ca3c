#pragma once
// The save/load dialog: five slots, and buttons to save, erase and load a
// slot or close the dialog.
#include <array>
#include <cstdint>
#include <string>

#include "ui/Form.h"

namespace mirel {

class File_Window final : public Form {
 public:
  static constexpr uint32_t kFrameColour = Rgb(224, 224, 224);
  static constexpr uint32_t kSelectedColour = Rgb(255, 128, 128);
  static constexpr uint32_t kCaptionColour = Rgb(0, 0, 128);
  static constexpr uint32_t kEmptyColour = Rgb(128, 128, 128);
  static constexpr uint32_t kSavedColour = Rgb(255, 192, 192);
  static constexpr uint32_t kErasedColour = Rgb(255, 255, 192);
  static constexpr uint32_t kLoadedColour = Rgb(192, 255, 192);
  static constexpr uint32_t kQuestionColour = Rgb(255, 0, 0);
  static constexpr int kFrameWidth = 161, kFrameHeight = 41, kIconSize = 32;

  explicit File_Window(Main_Form& main);
  // Opens the dialog in the mode the opener put into DialogMode (1 save,
  // 2 load). Refused while the story is not waiting for the player.
  void Form_Load();
  // Closes the dialog and gives the game window back.
  void Form_Unload();
  void OnControl(const InputEvent& e) override;
  PlayerWait Waiting() const override;
  std::string DefaultControl() const override;

  int SelectedSlot() const { return selected_; }  // -1 for none
  bool Confirming() const { return confirming_; }
  // The slot icons: 0 normal, 1 selected, drawn on the given background.
  static std::array<uint32_t, kIconSize * kIconSize> Icon(int which, uint32_t background);

 private:
  bool StoryWaits() const;
  std::string SlotPath(int k) const;
  bool SlotUsed(int k);
  void FillSlots();
  void PaintFrame(int k, uint32_t colour, bool selected);
  void SelectSlot(int k);
  void Button(int k);
  void Save(const std::string& path);
  void Erase(const std::string& path);
  bool Load(const std::string& path);
  bool Confirm(const Text& question);
  void Notice(uint32_t colour, const Text& text);
  void HideNotice();
  void Pause(uint32_t ms);
  void SetBusy(bool busy);
  void PlaySe(int32_t id);

  int mode_ = 2;        // 1 save, 2 load, as opened
  int selected_ = -1;
  uint8_t answer_ = 0;  // 0 pending, 1 yes, 2 no
  bool confirming_ = false;
  bool busy_ = false;
  bool closeAsked_ = false;  // the window's close box was used while busy
};

}  // namespace mirel
