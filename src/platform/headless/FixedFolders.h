#pragma once
#include <string>
#include <utility>

#include "platform/UserFolders.h"

namespace mirel {

// Fixed folders, for tests.
class FixedFolders final : public UserFolders {
 public:
  explicit FixedFolders(std::string data, std::string config = {})
      : data_(std::move(data)), config_(std::move(config)) {}
  std::string DataHome() override { return data_; }
  std::string ConfigHome() override { return config_; }

 private:
  std::string data_, config_;
};

}  // namespace mirel
