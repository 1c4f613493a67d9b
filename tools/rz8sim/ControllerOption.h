#pragma once
// The --ctl argument: "com=3,box=2,model=C,fw=17" plus optional keys
//   hpixel=N vpixel=N edidflags=N name=TEXT
//   silent  fe  split[=MS]  edid=broken|stuck  ignore=CODE (repeatable)
// Numbers are decimal or 0x-prefixed hex.
#include "ControllerConfig.h"

#include <optional>
#include <string>

namespace kztr::sim {

// nullopt with a message in error when the text is not a valid controller.
std::optional<ControllerConfig> parseControllerOption(const std::string& text, std::string& error);

} // namespace kztr::sim
