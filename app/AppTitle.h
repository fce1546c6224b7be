#pragma once

// The application's title: the text of its taskbar button and the caption of its boxes.
inline constexpr char kAppTitle[] = "『Zeroraz网页批量修改器』V2.0";
