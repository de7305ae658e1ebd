#include "actions/QuizSite.h"
#include "bank/QuestionBank.h"
#include "platform/Shell.h"

#ifndef BRINDLOW_QUIZ_HOST
#error "BRINDLOW_QUIZ_HOST must name the quiz site's host (set by the build)"
#endif

const std::string_view quizSiteAddress = "https://" BRINDLOW_QUIZ_HOST "/competition";

void onOpenSiteClicked() {
    openWebAddress(quizSiteAddress);
}

void openWebAddress(std::string_view address) {
    const QuestionBank::GbkText copy(address);
    // The window found only owns whatever the shell shows while it opens the address;
    // the default handler of https addresses opens the page either way.
    const platform::WindowHandle owner =
        platform::findTopLevelWindow("Microsoft Internet Explorer");
    platform::shellExecute(owner, "open", copy, platform::ShowCommand::normal);
}
