#pragma once

// The maker's addresses and numbers, shown by the about window and the main window. They are
// placeholders under the reserved ".example" domain.
inline constexpr char kMakerHomePage[] = "http://www.zeroraz.example";
// The second web address: shown by this caption, it leads to a page on another host.
inline constexpr char kMakerWebCaption[] = "www.zeroraz.example/soft";
inline constexpr char kMakerWebLink[] = "http://soft.zeroraz.example/";
inline constexpr char kMakerMailAddress[] = "maker@zeroraz.example";
inline constexpr char kMakerMailLink[] = "mailto:maker@zeroraz.example";
inline constexpr char kMakerQQNumber[] = "10000000";
inline constexpr char kMakerTelephone[] = "000-00000000";
inline constexpr char kMakerMsnAccount[] = "zr@msn.example";
// The contact line of the about window: "QQ:", the number, a blank, "Tel:" and the telephone.
inline constexpr char kMakerContactCaption[] = "QQ:10000000 Tel:000-00000000";
