// The quiz-site button.

#include "actions/QuizSite.h"
#include "tests/unit/Fixture.h"

namespace {

using QuizSite = ProgramTest;

TEST_F(QuizSite, TheAddressIsHttpsTheConfiguredHostAndTheCompetitionPath) {
    EXPECT_EQ(quizSiteAddress, "https://" BRINDLOW_EXPECTED_QUIZ_HOST "/competition");
    EXPECT_EQ(quizSiteAddress.find_first_of("?#"), std::string_view::npos);
    for (const char c : quizSiteAddress) {
        EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "an ASCII address is also GBK";
    }
}

struct OpenCase {
    const char* name;
    platform::WindowHandle ownerFound;
    std::string address;
};

const OpenCase openCases[] = {
    {"no window with the owner title", platform::noWindow, "https://quiz.example.org/competition"},
    {"a window with the owner title", platform::WindowHandle{0x777},
     "https://quiz.example.org/competition"},
    {"an address passed unchanged", platform::noWindow, "https://例子.example/a b?c#d"},
};

TEST_F(QuizSite, AsksTheShellToOpenTheAddressOwnedByTheExplorerWindowIfAny) {
    for (const OpenCase& open : openCases) {
        SCOPED_TRACE(open.name);
        resetProgram();
        fake::state.topLevelWindow = open.ownerFound;

        openWebAddress(open.address);

        EXPECT_EQ(fake::state.log,
                  (std::vector<std::string>{"findTopLevelWindow Microsoft Internet Explorer",
                                            "shellExecute " + fake::nameOf(open.ownerFound) +
                                                " open " + open.address + " normal"}));
    }
}

TEST_F(QuizSite, EachClickOpensTheQuizPageAgain) {
    onOpenSiteClicked();
    onOpenSiteClicked();
    const std::string expected =
        "shellExecute #none open " + std::string(quizSiteAddress) + " normal";
    EXPECT_EQ(fake::logLines("shellExecute"), (std::vector<std::string>{expected, expected}));
}

} // namespace
