#include "simulator/AttachmentSignatureScenarioSupport.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/core/StandardOutput.h"
#include "platform/ui/PHAsset.h"
#include "platform/ui/PHPhotoLibrary.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIDocumentPickerViewController.h"
#include "platform/ui/UITabBarController.h"
#include "platform/vessa/VUIAddPhotoAttachmentAction.h"
#include "platform/vessa/VUIAttachmentsFormCell.h"
#include "platform/vessa/VUIAttachmentsViewController.h"
#include "platform/vessa/VUIDocumentPickerAttachmentAction.h"
#include "platform/vessa/VUISignatureCaptureController.h"
#include "platform/vessa/VUISignatureCaptureView.h"
#include "platform/vessa/VUITakePhotoAttachmentAction.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "simulator/ScenarioExtensions.h"
#include "simulator/StepFields.h"
#include "simulator/UiScreen.h"

namespace trc::simulator {

namespace {

namespace fs = std::filesystem;
using namespace trc::vessa;

// Step keys and the names of the attach actions, as scenarios write them.
constexpr const char* kSection = "section";
constexpr const char* kRow = "row";
constexpr const char* kAction = "action";
constexpr const char* kFiles = "files";
constexpr const char* kIndex = "index";
constexpr const char* kStrokes = "strokes";
constexpr const char* kLibraryAccess = "libraryAccess";
constexpr const char* kPhotoLibrary = "photoLibrary";
constexpr const char* kCamera = "camera";
constexpr const char* kDocument = "document";

template <class Cell>
std::shared_ptr<Cell> cellOfKind(const core::Dictionary& step, const char* kind) {
    auto cell = cellIn(step);
    auto typed = std::dynamic_pointer_cast<Cell>(cell);
    if (!typed) {
        throw ScenarioError("the cell at " + rowIn(step).description() + " is a " + cell->className() + ", not " +
                            kind);
    }
    return typed;
}

std::vector<fs::path> filesIn(ScenarioContext& ctx, const core::Dictionary& step) {
    const core::Value* raw = step.find(kFiles);
    if (!raw) throw ScenarioError("the step needs \"files\"");
    core::Value v = ctx.resolve(*raw);
    const core::Array* list = v.ifArray();
    if (!list || list->empty()) throw ScenarioError("\"files\" must be a list of file names");
    std::vector<fs::path> files;
    for (const auto& item : *list) {
        if (!item.isString()) throw ScenarioError("\"files\" must be a list of file names");
        std::error_code ec;
        fs::path file = fs::absolute(ctx.scenarioDir() / *item.ifString(), ec);
        if (!fs::is_regular_file(file, ec)) throw ScenarioError("no file " + file.string());
        files.push_back(std::move(file));
    }
    return files;
}

void setLibraryAccess(ScenarioContext& ctx, const core::Dictionary& step) {
    if (!step.find(kLibraryAccess)) return;
    const std::string wanted = textIn(ctx, step, kLibraryAccess);
    using Status = ui::PHPhotoLibrary::AuthorizationStatus;
    for (Status status :
         {Status::NotDetermined, Status::Restricted, Status::Denied, Status::Authorized, Status::Limited}) {
        if (wanted == ui::PHPhotoLibrary::statusName(status)) {
            ui::PHPhotoLibrary::shared().authorizationStatus = status;
            return;
        }
    }
    throw ScenarioError("\"libraryAccess\" must be notDetermined, restricted, denied, authorized or limited");
}

template <class Action>
std::shared_ptr<Action> offered(const VUIAttachmentsViewController& controller, const std::string& name) {
    auto action = std::dynamic_pointer_cast<Action>(controller.actionOfKind(Action().kindName()));
    if (!action) throw ScenarioError("the attachment row offers no \"" + name + "\" action");
    return action;
}

void attach(ScenarioContext& ctx, const core::Dictionary& step) {
    auto cell = cellOfKind<VUIAttachmentsFormCell>(step, "an attachments cell");
    const std::string action = textIn(ctx, step, kAction);
    setLibraryAccess(ctx, step);
    const auto files = filesIn(ctx, step);
    const auto& controller = *cell->attachmentsController();
    if (action == kPhotoLibrary) {
        auto add = offered<VUIAddPhotoAttachmentAction>(controller, action);
        refusedUnless(add->pickPhotos(files) == static_cast<int>(files.size()), "a photo of the library");
    } else if (action == kCamera) {
        auto take = offered<VUITakePhotoAttachmentAction>(controller, action);
        for (const auto& file : files) refusedUnless(take->takePhoto(file), "a photo of " + file.filename().string());
    } else if (action == kDocument) {
        auto pick = offered<VUIDocumentPickerAttachmentAction>(controller, action);
        for (const auto& file : files)
            refusedUnless(pick->pickDocument(file), "the document " + file.filename().string());
    } else {
        throw ScenarioError("\"action\" must be photoLibrary, camera or document");
    }
    settle();
}

void deleteAttachment(ScenarioContext& /*ctx*/, const core::Dictionary& step) {
    auto cell = cellOfKind<VUIAttachmentsFormCell>(step, "an attachments cell");
    const int index = intIn(step, kIndex);
    if (!cell->attachmentsController()->pressDelete(index)) {
        throw ScenarioError("the row shows no attachment " + std::to_string(index));
    }
    settle();
}

std::vector<VUISignatureCaptureView::Stroke> strokesIn(ScenarioContext& ctx, const core::Dictionary& step) {
    const core::Value* raw = step.find(kStrokes);
    if (!raw) throw ScenarioError("the step needs \"strokes\"");
    core::Value v = ctx.resolve(*raw);
    const char* shape = "\"strokes\" must be a list of strokes, each a list of [x, y] points";
    const core::Array* strokes = v.ifArray();
    if (!strokes) throw ScenarioError(shape);
    std::vector<VUISignatureCaptureView::Stroke> out;
    for (const auto& stroke : *strokes) {
        const core::Array* points = stroke.ifArray();
        if (!points) throw ScenarioError(shape);
        VUISignatureCaptureView::Stroke line;
        for (const auto& point : *points) {
            const core::Array* xy = point.ifArray();
            if (!xy || xy->size() != 2 || !(*xy)[0].asDouble() || !(*xy)[1].asDouble()) throw ScenarioError(shape);
            line.push_back(ui::CGPoint{*(*xy)[0].asDouble(), *(*xy)[1].asDouble()});
        }
        out.push_back(std::move(line));
    }
    return out;
}

std::shared_ptr<VUISignatureCaptureController> padOnScreen() {
    auto pad = std::dynamic_pointer_cast<VUISignatureCaptureController>(UiScreen::screenViewController());
    if (!pad) throw ScenarioError("no signature pad is shown");
    return pad;
}

void sign(ScenarioContext& ctx, const core::Dictionary& step) {
    const auto strokes = strokesIn(ctx, step);
    if (step.find(kSection) || step.find(kRow)) {
        auto cell = cellOfKind<VUITextFieldFormCell>(step, "a signature cell");
        auto button = cell->alternativeInputButton();
        if (button->isHidden() || !button->press()) throw ScenarioError("the row shows no signature button");
        settle();
    }
    auto pad = padOnScreen();
    pad->draw(strokes);
    refusedUnless(pad->finish(), "finishing an empty signature");
    settle();
}

void cancelSignature(ScenarioContext& /*ctx*/, const core::Dictionary& /*step*/) {
    padOnScreen()->cancel();
    settle();
}

}  // namespace

void AttachmentSignatureScenarioSupport::install() {
    // The simulator's standard output carries the transcript; what the
    // library prints for people goes to standard error instead.
    ScenarioExtensions::addProcessStart("printsToStandardError", [] {
        core::StandardOutput::redirect([](std::string_view line) {
            std::fwrite(line.data(), 1, line.size(), stderr);
            std::fputc('\n', stderr);
        });
    });
    ScenarioExtensions::addUserAction("attach", attach);
    ScenarioExtensions::addUserAction("deleteAttachment", deleteAttachment);
    ScenarioExtensions::addUserAction("sign", sign);
    ScenarioExtensions::addUserAction("cancelSignature", cancelSignature);
}

}  // namespace trc::simulator
