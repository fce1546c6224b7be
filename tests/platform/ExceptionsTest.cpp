#include <gtest/gtest.h>

#include "platform/Exceptions.h"

TEST(Exceptions, MessagesAndTree) {
    EXPECT_EQ(EFOpenError("/w/a.html").Message(), "Cannot open file /w/a.html");
    EXPECT_EQ(EFCreateError("/w/a.html").Message(), "Cannot create file /w/a.html");
    EXPECT_EQ(EWriteError().Message(), "Stream write error");
    EXPECT_EQ(EStringListError(-1).Message(), "List index out of bounds (-1)");
    EXPECT_EQ(EIniFileException("zeroraz.ini").Message(), "Unable to write to zeroraz.ini");

    EXPECT_NE(dynamic_cast<const EStreamError*>(&static_cast<const Exception&>(EFOpenError("x"))),
              nullptr);
    const EWriteError write;
    const Exception& base = write;
    EXPECT_NE(dynamic_cast<const EFilerError*>(&base), nullptr);
    EXPECT_NE(dynamic_cast<const EStreamError*>(&base), nullptr);
    const EStringListError index(3);
    EXPECT_EQ(dynamic_cast<const EStreamError*>(static_cast<const Exception*>(&index)), nullptr);
}

TEST(Exceptions, ErrorBoxTextAppendsAFullStopOnlyAfterHigherBytes) {
    EXPECT_EQ(ErrorBoxText("Cannot open file /w/a.html"), "Cannot open file /w/a.html.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("ends in a dash -"), "ends in a dash -");
    EXPECT_EQ(ErrorBoxText(""), "");
    EXPECT_EQ(ErrorBoxText("目录"), "目录.");
}
