#include "platform/vessa/VUISignatureCaptureController.h"

#include <chrono>

#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"

namespace trc::vessa {

namespace {

core::Date systemNow() {
    using namespace std::chrono;
    return core::Date{duration<double>(system_clock::now().time_since_epoch()).count()};
}

[[maybe_unused]] const bool kResetRegistered = [] {
    core::ProcessState::registerReset("vessa.VUISignatureCaptureController",
                                      [] { VUISignatureCaptureController::now = systemNow; });
    return true;
}();

}  // namespace

std::function<core::Date()> VUISignatureCaptureController::now = systemNow;

const core::ClassInfo& VUISignatureCaptureController::classInfo() {
    using C = VUISignatureCaptureController;
    static const core::ClassInfo& info =
        core::ClassBuilder<C>("VUISignatureCaptureController", ui::UIViewController::classInfo())
            .factory([] { return std::static_pointer_cast<core::Object>(createInstance()); })
            .property("signatureCaptureView", [](const C& c) { return core::Value(c.signatureView_); })
            .property("imageTimestampText",
                      [](const C& c) { return c.timestampText_ ? core::Value(*c.timestampText_) : core::Value(); })
            .property("imageFootnoteText",
                      [](const C& c) { return c.footnote_ ? core::Value(c.footnote_->text) : core::Value(); })
            .property("imageFootnoteLines",
                      [](const C& c) { return c.footnote_ ? core::Value(c.footnote_->numberOfLines) : core::Value(); })
            .build();
    return info;
}

std::shared_ptr<VUISignatureCaptureController> VUISignatureCaptureController::createInstance() {
    return std::make_shared<VUISignatureCaptureController>();
}

void VUISignatureCaptureController::loadView() {
    UIViewController::loadView();
    view()->addSubview(signatureView_);
}

void VUISignatureCaptureController::draw(const std::vector<VUISignatureCaptureView::Stroke>& strokes) {
    for (const auto& stroke : strokes) signatureView_->addStroke(stroke);
}

bool VUISignatureCaptureController::finish() {
    if (!signatureView_->hasSignature()) return false;
    auto d = delegate();
    timestampText_.reset();
    footnote_.reset();
    if (d) {
        if (d->addsTimestampInImage()) {
            auto formatter = d->timestampFormatter();
            timestampText_ = formatter ? formatter->string(now()) : std::string();
        }
        footnote_ = d->footnoteText();
    }
    auto image =
        signatureView_->renderImage({footnote_, timestampText_, d ? d->footnoteTextAlignment() : std::nullopt});
    // The delegate may let the pad go; keep it alive until the call returns.
    auto self = weak_from_this().lock();
    if (d) d->didFinishSigning(*this, image);
    return true;
}

void VUISignatureCaptureController::cancel() {
    auto self = weak_from_this().lock();
    if (auto d = delegate()) d->didCancelSignatureCaptureController(*this);
}

}  // namespace trc::vessa
