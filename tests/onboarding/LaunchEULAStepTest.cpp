#include "onboarding/LaunchEULAStep.h"

#include "onboarding/OnboardingCustomization.h"
#include "platform/flows/CodableStoring.h"
#include "platform/flows/FlowTestSupport.h"
#include "platform/flows/ModalUIViewControllerPresenter.h"
#include "platform/ui/UIApplication.h"

namespace trc::onboarding {
namespace {

using flows::OnboardingContext;
using flows::OnboardingResult;
using flows::VUIEULAViewController;

class LaunchEULA : public flows::test::FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        step = std::make_shared<LaunchEULAStep>(flows::EULAContent{"Terms", "Be nice.", "1.0"});
        step->eulaAcceptedHandler = [this] {
            ++acceptances;
            auto kept = context.credentialStore->get(flows::EULAStep::kAcceptedVersionKey);
            versionKeptWhenAccepted = kept && std::string(kept->begin(), kept->end()) == "1.0";
        };
    }

    void start() {
        step->onboard(context, [this](OnboardingResult r) { result = std::move(r); });
        runMain();
    }
    std::shared_ptr<VUIEULAViewController> agreementScreen() const {
        return std::dynamic_pointer_cast<VUIEULAViewController>(topScreen());
    }
    std::shared_ptr<ui::UIAlertController> alert() const {
        return std::dynamic_pointer_cast<ui::UIAlertController>(topScreen());
    }
    // Rejects on the agreement screen and answers the alert with the
    // button at index; the agreement screen is on top again afterwards.
    void rejectThenTap(std::size_t index) {
        ASSERT_TRUE(agreementScreen());
        ASSERT_TRUE(agreementScreen()->reject());
        runMain();
        ASSERT_TRUE(alert());
        ASSERT_TRUE(alert()->tapAction(index));
        runMain();
    }
    // The alert as a short text: title, message, then its buttons.
    static std::string shape(const ui::UIAlertController& a) {
        std::string out = "title=" + a.title.value_or("(none)") + " message=" + a.message.value_or("(none)");
        for (const auto& action : a.actions())
            out += " [" + action->title.value_or("(none)") + "|" + ui::UIAlertAction::styleName(action->style) + "]";
        return out;
    }

    OnboardingContext context;
    std::shared_ptr<LaunchEULAStep> step;
    std::optional<OnboardingResult> result;
    int acceptances = 0;
    bool versionKeptWhenAccepted = false;
};

TEST_F(LaunchEULA, AcceptingCompletesTheStepAndIsRecordedAfterTheFrameworkHandledIt) {
    start();
    ASSERT_TRUE(agreementScreen());
    EXPECT_EQ(agreementScreen()->contentLabel->text, "Be nice.");
    EXPECT_EQ(step->plovBundle, foundation::Bundle::framework());

    ASSERT_TRUE(agreementScreen()->accept());
    EXPECT_EQ(acceptances, 1);
    EXPECT_TRUE(versionKeptWhenAccepted) << "the framework remembers the version before the controller hears of it";
    runMain();
    ASSERT_TRUE(result && result->isSuccess());
    EXPECT_EQ(topScreen(), window->rootViewController());
}

TEST_F(LaunchEULA, RejectingAsksWithoutEndingTheStepAndConsentLeadsBackToTheAgreement) {
    start();
    ASSERT_TRUE(agreementScreen()->reject());
    runMain();
    ASSERT_TRUE(alert());
    EXPECT_EQ(shape(*alert()),
              "title=(none) message=Without consent, you will not be able to continue onboarding "
              "[Quit Process|default] [Give Consent|default]")
        << "without host texts: the default texts, never an untitled button; leave first";
    EXPECT_EQ(alert()->preferredStyle, ui::UIAlertController::Style::Alert);
    EXPECT_FALSE(result) << "a rejection does not complete the step";

    ASSERT_TRUE(alert()->tapAction(1));
    runMain();
    EXPECT_EQ(ui::UIApplication::shared()->applicationState, ui::UIApplication::State::Active);
    ASSERT_TRUE(agreementScreen()) << "consent only closes the alert";
    EXPECT_FALSE(result);
    EXPECT_EQ(acceptances, 0);

    ASSERT_TRUE(agreementScreen()->accept());
    runMain();
    ASSERT_TRUE(result && result->isSuccess());
    EXPECT_EQ(acceptances, 1);
}

TEST_F(LaunchEULA, TheAlertShowsTheHostsTexts) {
    core::Dictionary hostTexts;
    hostTexts["eulaRejectAlertTitleText"] = core::Value("Sure?");
    hostTexts["eulaRejectAlertQuitBtnText"] = core::Value("Leave");
    hostTexts["eulaRejectAlertConsentBtnText"] = core::Value("Agree after all");
    OnboardingCustomization::update(hostTexts);
    start();
    ASSERT_TRUE(agreementScreen()->reject());
    runMain();
    ASSERT_TRUE(alert());
    EXPECT_EQ(shape(*alert()), "title=(none) message=Sure? [Leave|default] [Agree after all|default]")
        << "the host's title text is the alert's message";
}

TEST_F(LaunchEULA, LeavingOnlySendsTheApplicationToTheBackgroundAndTheStepStillWaits) {
    start();
    rejectThenTap(0);
    EXPECT_EQ(ui::UIApplication::shared()->applicationState, ui::UIApplication::State::Background);
    ASSERT_TRUE(agreementScreen()) << "the user finds the agreement on return";
    EXPECT_FALSE(result);

    ui::UIApplication::shared()->applicationState = ui::UIApplication::State::Active;
    rejectThenTap(1);
    ASSERT_TRUE(agreementScreen()->accept());
    runMain();
    ASSERT_TRUE(result && result->isSuccess());
}

TEST_F(LaunchEULA, TheAlertGoesThroughTheControllersPresenter) {
    auto presenter = std::make_shared<flows::ModalUIViewControllerPresenter>();
    int asked = 0;
    step->presentationDelegateProvider = [&] {
        ++asked;
        return presenter;
    };
    start();
    ASSERT_TRUE(agreementScreen()->reject());
    runMain();
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(presenter->presentedViewControllers().size(), 1u);
    EXPECT_EQ(presenter->presentedViewControllers()[0], alert());

    alert()->tapAction(1);
    runMain();
    step->presentationDelegateProvider = [] { return std::shared_ptr<flows::FlowPresentationDelegate>(); };
    ASSERT_TRUE(agreementScreen()->reject());
    runMain();
    EXPECT_TRUE(alert()) << "with no presenter from the controller the alert still shows";
}

}  // namespace
}  // namespace trc::onboarding
