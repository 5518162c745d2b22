#include "formcells/AttachmentFormViewDelegate.h"

#include <gtest/gtest.h>

#include <fstream>

#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellSection.h"
#include "formcells/FormCellSetters.h"
#include "formcells/FormTestSupport.h"
#include "formcells/internal/AttachmentTemporaryFiles.h"
#include "platform/core/Json.h"
#include "platform/core/StandardOutput.h"
#include "platform/dispatch/GlobalQueue.h"
#include "platform/foundation/Sandbox.h"
#include "platform/ui/ImageDecoder.h"
#include "platform/ui/ImageFiles.h"
#include "platform/ui/PHPhotoLibrary.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIAddPhotoAttachmentAction.h"
#include "platform/vessa/VUIAttachmentsFormCell.h"
#include "platform/vessa/VUIDocumentPickerAttachmentAction.h"
#include "platform/vessa/VUITakePhotoAttachmentAction.h"
#include "services/ActivityIndicatorView.h"
#include "services/FreshSandboxTest.h"
#include "services/SectionedTableViewController.h"

namespace trc::formcells {
namespace {

namespace fs = std::filesystem;
using foundation::URL;
using internal::AttachmentTemporaryFiles;
using trc::testing::Bytes;

// The owner of the row: records what it is told.
class OwnerDouble : public AttachmentFormViewChangeDelegate {
public:
    void didChangeValue(const std::optional<std::string>& name, const core::Dictionary& params) override {
        changes.push_back({name, params});
    }
    void reloadSectionContainer(const ui::IndexPath& indexPath) override { reloads.push_back(indexPath); }

    struct Change {
        std::optional<std::string> name;
        core::Dictionary params;
    };
    std::vector<Change> changes;
    std::vector<ui::IndexPath> reloads;
};

class AttachmentTest : public trc::testing::FreshSandboxTest {
protected:
    void SetUp() override {
        FreshSandboxTest::SetUp();
        core::StandardOutput::redirect([this](std::string_view line) { printed.emplace_back(line); });
        window->makeKeyAndVisible();
    }

    std::shared_ptr<AttachmentFormViewDelegate> row(const std::string& json = R"({"_Name": "files"})") {
        auto made = std::make_shared<AttachmentFormViewDelegate>(owner, ui::IndexPath{0, 3}, testing::params(json));
        controller->setDataSource(made);
        controller->setDelegate(made);
        picker->setDelegate(made);
        library->setDelegate(made);
        camera->setDelegate(made);
        return made;
    }
    fs::path source(const std::string& name, const Bytes& bytes) {
        const fs::path path = root / "picked" / name;
        trc::testing::writeFile(path, bytes);
        return path;
    }
    fs::path png(const std::string& name, std::uint32_t w = 4, std::uint32_t h = 3) {
        return source(name, trc::testing::encodePNG(w, h, trc::testing::solid(w, h, {10, 20, 30, 255})));
    }
    static Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }
    // Lets the photo library's background answers reach the main queue, and runs it.
    static void settle() {
        dispatch::GlobalQueue::shared().waitUntilIdle(10);
        dispatch::MainQueue::shared().runUntilIdle();
    }
    static std::string urlOf(const fs::path& p) { return URL::fileURLWithPath(p).absoluteString(); }
    static core::Dictionary record(const OwnerDouble::Change& change, const char* key) {
        const core::Value* v = change.params.find(key);
        return v && v->ifDictionary() ? *v->ifDictionary() : core::Dictionary();
    }
    static std::size_t listed(const OwnerDouble::Change& change) {
        const core::Value* v = change.params.find("Value");
        return v && v->ifArray() ? v->ifArray()->size() : 0;
    }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
    std::shared_ptr<OwnerDouble> owner = std::make_shared<OwnerDouble>();
    std::shared_ptr<vessa::VUIAttachmentsViewController> controller = vessa::VUIAttachmentsViewController::make();
    std::shared_ptr<vessa::VUIDocumentPickerAttachmentAction> picker =
        std::make_shared<vessa::VUIDocumentPickerAttachmentAction>();
    std::shared_ptr<vessa::VUIAddPhotoAttachmentAction> library =
        std::make_shared<vessa::VUIAddPhotoAttachmentAction>();
    std::shared_ptr<vessa::VUITakePhotoAttachmentAction> camera =
        std::make_shared<vessa::VUITakePhotoAttachmentAction>();
    std::vector<std::string> printed;
};

// ---- Host entries ------------------------------------------------------------------------

using AttachmentHostEntries = AttachmentTest;

TEST_F(AttachmentHostEntries, OnlyTheEntriesTheRowWasMadeWithComeInOnceSilentlyWithTheirHostKeys) {
    const auto a = png("a.png");
    const std::string made =
        R"({"_Name": "files", "Value": [7, {"urlString": ")" + urlOf(a) +
        R"j(", "readLink": "Photos(1)", "service": "svc"}, {"urlString": "file:///gone/b.png"}]})j";
    auto d = row(made);
    const auto entries = *testing::params(made).find("Value")->ifArray();
    d->addAttachmentEntry(*entries[1].ifDictionary());
    d->addAttachmentEntry(*entries[1].ifDictionary());
    d->addAttachmentEntry(*entries[2].ifDictionary());
    d->addAttachmentEntry(testing::params(R"({"urlString": ")" + urlOf(png("c.png")) + R"("})"));

    EXPECT_EQ(d->attachmentUniqueIDs, std::vector<std::string>{urlOf(a)}) << "a missing file leaves no empty slot";
    EXPECT_TRUE(owner->changes.empty());
    EXPECT_TRUE(owner->reloads.empty());
    const core::Dictionary& rec = d->attachmentsData.at(urlOf(a));
    EXPECT_EQ(rec.get("contentType"), core::Value("image/png"));
    EXPECT_EQ(rec.get("urlString"), core::Value(urlOf(a)));
    EXPECT_EQ(rec.get("readLink"), core::Value("Photos(1)"));
    EXPECT_EQ(rec.get("service"), core::Value("svc"));
    EXPECT_FALSE(rec.contains("entitySet"));
}

TEST_F(AttachmentHostEntries, ThePreviewIsWhatIsReadAndFallsBackToTheAttachmentAddress) {
    const auto preview = source("preview.txt", text("shown"));
    const std::string made = R"({"Value": [{"urlString": "file:///server/a b.txt", "previewURLString": ")" +
                             urlOf(preview) + R"("}, {"urlString": ")" + urlOf(source("own.txt", text("own"))) +
                             R"(", "previewURLString": "not a url"}]})";
    auto d = row(made);
    const auto entries = *testing::params(made).find("Value")->ifArray();
    for (const auto& entry : entries) d->addAttachmentEntry(*entry.ifDictionary());

    ASSERT_EQ(d->attachmentUniqueIDs.size(), 2u);
    const auto& first = d->attachmentsData.at("file:///server/a%20b.txt");
    EXPECT_EQ(first.get("content"), core::Value(text("shown")));
    EXPECT_EQ(first.get("urlString"), core::Value("file:///server/a b.txt")) << "escapes removed";
    EXPECT_EQ(first.get("contentType"), core::Value("text/plain"));
    EXPECT_EQ(d->attachmentsData.at(d->attachmentUniqueIDs[1]).get("content"), core::Value(text("own")));
}

TEST_F(AttachmentHostEntries, AddressesOfNoLocalFileAndEntriesAPersonDeletedStayOut) {
    const auto a = source("a.txt", text("a"));
    const std::string made =
        R"({"Value": [{"urlString": "https://example.com/etc/hostname"}, {"urlString": ")" + urlOf(a) + R"("}]})";
    auto d = row(made);
    const auto entries = *testing::params(made).find("Value")->ifArray();
    d->addAttachmentEntry(*entries[0].ifDictionary());
    EXPECT_TRUE(d->attachmentUniqueIDs.empty()) << "a web address is not read as a local path";

    d->addAttachmentEntry(*entries[1].ifDictionary());
    controller->reloadData();
    ASSERT_TRUE(controller->pressDelete(0));
    EXPECT_EQ(d->params.get("Value").ifArray()->size(), 1u) << "the host's entry leaves the row's own list";
    d->addAttachmentEntry(*entries[1].ifDictionary());
    EXPECT_TRUE(d->attachmentUniqueIDs.empty()) << "a later configuration does not bring it back";
}

// ---- Content -------------------------------------------------------------------------------

using AttachmentContent = AttachmentTest;

TEST_F(AttachmentContent, PicturesAreReencodedByTheirExtensionInAnyCaseOtherFilesSentAsTheyAre) {
    auto d = row();
    const Bytes jpeg = trc::testing::encodeJPEG(8, 8, trc::testing::solid(8, 8, {200, 40, 40}), 3, 100);
    ASSERT_TRUE(picker->pickDocument(png("p.png", 5, 2)));
    ASSERT_TRUE(picker->pickDocument(source("CAMERA.JPG", jpeg)));
    ASSERT_TRUE(picker->pickDocument(source("data.xyz1", text("raw"))));
    ASSERT_TRUE(picker->pickDocument(source("notes.txt", text("hello"))));

    ASSERT_EQ(owner->changes.size(), 4u);
    auto added = [&](std::size_t i) { return record(owner->changes[i], "AddedAttachments"); };
    std::string error;
    EXPECT_EQ(added(0).get("contentType"), core::Value("image/png"));
    auto pixels = ui::ImageDecoder::decode(*added(0).get("content").ifData(), error);
    ASSERT_TRUE(pixels) << error;
    EXPECT_EQ(pixels->width, 5u);

    EXPECT_EQ(added(1).get("contentType"), core::Value("image/jpeg"));
    const core::Data& reencoded = *added(1).get("content").ifData();
    EXPECT_NE(reencoded, jpeg) << "re-encoded at quality 0.7";
    EXPECT_EQ(ui::ImageDecoder::formatOf(reencoded), ui::ImageDecoder::Format::JPEG);

    EXPECT_EQ(added(2).get("contentType"), core::Value("application/octet-stream"));
    EXPECT_EQ(added(2).get("content"), core::Value(text("raw")));
    EXPECT_EQ(added(3).get("contentType"), core::Value("text/plain"));
    EXPECT_EQ(added(3).get("content"), core::Value(text("hello")));
    EXPECT_EQ(listed(owner->changes[3]), 4u);
    EXPECT_EQ(owner->reloads, std::vector<ui::IndexPath>(4, ui::IndexPath{0, 3}));

    controller->reloadData();
    ASSERT_EQ(controller->shownAttachments().size(), 4u);
    EXPECT_TRUE(controller->shownAttachments()[0].icon) << "a picture is its own thumbnail";
    EXPECT_FALSE(controller->shownAttachments()[2].icon);
    EXPECT_EQ(controller->shownAttachments()[3].url->absoluteString(), *added(3).get("previewURLString").ifString());
}

// ---- Copies ----------------------------------------------------------------------------------

using AttachmentCopies = AttachmentTest;

TEST_F(AttachmentCopies, TheSameDocumentTwiceIsOneAttachmentAnotherOfTheSameNameIsKeptApart) {
    auto d = row();
    ASSERT_TRUE(picker->pickDocument(source("report.txt", text("first"))));
    ASSERT_TRUE(picker->pickDocument(root / "picked" / "report.txt"));
    EXPECT_EQ(owner->changes.size(), 1u) << "no second report of the same file";

    const fs::path other = root / "elsewhere" / "report.txt";
    trc::testing::writeFile(other, text("second"));
    ASSERT_TRUE(picker->pickDocument(other));
    ASSERT_EQ(owner->changes.size(), 2u);
    const auto added = record(owner->changes[1], "AddedAttachments");
    EXPECT_EQ(added.get("content"), core::Value(text("second"))) << "never the earlier file's bytes";
    EXPECT_EQ(added.get("urlString"), core::Value(urlOf(foundation::Sandbox::tmp() / "attachments" / "report-1.txt")));
    EXPECT_EQ(d->attachmentUniqueIDs.size(), 2u);
}

TEST_F(AttachmentCopies, FileNamesNeverLeaveTheirFolder) {
    EXPECT_EQ(AttachmentTemporaryFiles::safeFileName("photo 1.png"), "photo 1.png");
    for (const std::string& bad : std::vector<std::string>{"", ".", "..", "a/../../b.png", std::string(300, 'x')}) {
        const std::string safe = AttachmentTemporaryFiles::safeFileName(bad);
        EXPECT_EQ(safe.find('/'), std::string::npos) << bad;
        EXPECT_GE(safe.size(), 36u) << bad;
    }
    EXPECT_TRUE(AttachmentTemporaryFiles::safeFileName("../x.png").ends_with(".png"));

    auto copied = AttachmentTemporaryFiles::renameFilename(URL::fileURLWithPath(png("a.png")), "../../escape.png");
    ASSERT_TRUE(copied);
    EXPECT_EQ(fs::path(copied->path()).parent_path(), foundation::Sandbox::tmp());
}

TEST_F(AttachmentCopies, FailedCopiesPrintWhyAndAddNothing) {
    auto d = row();
    const URL missing = URL::fileURLWithPath(root / "picked" / "missing.pdf");
    vessa::VUIDocumentPickerAttachmentAction& action = *picker;
    d->documentPickerAttachmentAction(action, missing);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], "ERROR: Failed copy file " + missing.absoluteString() +
                              " to temp attachment folder: No such file or directory");

    d->addPhotoAttachmentAction(*library, missing);
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_TRUE(printed[1].starts_with("ERROR: Failed rename file " + missing.absoluteString() + " to file://"));
    EXPECT_FALSE(services::ActivityIndicatorView::isShown());
    settle();
    EXPECT_TRUE(d->attachmentUniqueIDs.empty());
    EXPECT_TRUE(owner->changes.empty());
}

TEST_F(AttachmentCopies, ThePickerOffersTheRowsFileTypesElseAnyData) {
    auto types = [&](const std::string& json) { return row(json)->documentPicker()->documentTypes(); };
    EXPECT_EQ(types(R"({"AllowedFileTypes": ["PDF", "nosuchtype", "jpg"]})"),
              (std::vector<std::string>{"com.adobe.pdf", "public.jpeg"}));
    EXPECT_EQ(types(R"({"AllowedFileTypes": []})"), std::vector<std::string>{"public.data"});
    EXPECT_EQ(types(R"({"AllowedFileTypes": ["nosuchtype"]})"), std::vector<std::string>{"public.data"});
    EXPECT_EQ(types("{}"), std::vector<std::string>{"public.data"});

    auto pdfOnly = row(R"({"AllowedFileTypes": ["pdf"]})");
    EXPECT_FALSE(picker->pickDocument(source("notes.txt", text("x")))) << "a person cannot pick a type not offered";
    ASSERT_TRUE(picker->lastDocumentPicker());
    EXPECT_FALSE(picker->lastDocumentPicker()->allowsMultipleSelection);
    EXPECT_TRUE(owner->changes.empty());
}

// ---- A person's additions --------------------------------------------------------------------

using AttachmentAdditions = AttachmentTest;

TEST_F(AttachmentAdditions, ALibraryPhotoIsCopiedUnderItsNameAddedOnTheNextTurnAndTheIndicatorGoes) {
    auto d = row();
    ASSERT_EQ(library->pickPhotos({png("holiday photo.png")}), 1);
    EXPECT_TRUE(services::ActivityIndicatorView::isShown());
    EXPECT_EQ(services::ActivityIndicatorView::shared()->text(), std::optional<std::string>(""));
    EXPECT_TRUE(owner->changes.empty());
    settle();
    EXPECT_FALSE(services::ActivityIndicatorView::isShown());
    ASSERT_EQ(owner->changes.size(), 1u);
    EXPECT_EQ(owner->changes[0].name, std::optional<std::string>("files"));
    const auto added = record(owner->changes[0], "AddedAttachments");
    EXPECT_EQ(added.get("urlString"),
              core::Value("file://" + (foundation::Sandbox::tmp() / "holiday photo.png").string()))
        << "escapes removed";
    EXPECT_EQ(added.get("previewURLString"), core::Value(urlOf(foundation::Sandbox::tmp() / "holiday photo.png")));
    EXPECT_EQ(owner->reloads.size(), 1u);
}

TEST_F(AttachmentAdditions, WithLibraryAccessPhotosComeAsAssetsAndAnAssetWithoutANameAddsNothing) {
    ui::PHPhotoLibrary::shared().authorizationStatus = ui::PHPhotoLibrary::AuthorizationStatus::Authorized;
    auto d = row();
    ASSERT_EQ(library->pickPhotos({png("IMG_1.png")}), 1);
    settle();
    ASSERT_EQ(owner->changes.size(), 1u);
    EXPECT_EQ(record(owner->changes[0], "AddedAttachments").get("contentType"), core::Value("image/png"));

    auto nameless =
        std::make_shared<ui::PHAsset>("X/L0/001", ui::PHAsset::MediaType::Image, png("n.png"), std::nullopt);
    d->addPhotoAttachmentAction(*library, nameless, URL::fileURLWithPath(nameless->file()));
    EXPECT_FALSE(services::ActivityIndicatorView::isShown());
    settle();
    EXPECT_EQ(owner->changes.size(), 1u);

    // The camera saves to the library, and the asset's file comes back on another queue.
    ASSERT_TRUE(camera->takePhoto(png("shot.png", 6, 6)));
    EXPECT_EQ(owner->changes.size(), 1u);
    settle();
    ASSERT_EQ(owner->changes.size(), 2u);
    EXPECT_EQ(record(owner->changes[1], "AddedAttachments").get("urlString"),
              core::Value(urlOf(root / "picked" / "shot.png")));
}

TEST_F(AttachmentAdditions, ACameraPictureIsSavedAsPNGInTheCaches) {
    auto d = row();
    ASSERT_TRUE(camera->takePhoto(png("seen.png", 3, 3)));
    ASSERT_EQ(owner->changes.size(), 1u);
    const auto added = record(owner->changes[0], "AddedAttachments");
    const fs::path saved = URL::fromString(*added.get("urlString").ifString())->path();
    EXPECT_EQ(saved.parent_path(), foundation::Sandbox::caches());
    EXPECT_EQ(saved.extension(), ".png");
    EXPECT_EQ(added.get("contentType"), core::Value("image/png"));
    EXPECT_FALSE(camera->takePhoto(source("nothing.png", text("no picture"))));
}

TEST_F(AttachmentAdditions, LibraryContentArrivesLaterAndIsDroppedWhenDeletedMeanwhile) {
    auto& photos = ui::PHPhotoLibrary::shared();
    photos.authorizationStatus = ui::PHPhotoLibrary::AuthorizationStatus::Limited;
    auto asset = photos.addAsset(png("lib.png", 160, 40), ui::PHAsset::MediaType::Image);
    const std::string made = R"({"Value": [{"urlString": ")" + asset->assetURL() + R"("}]})";
    auto d = row(made);
    const auto entry = *testing::params(made).find("Value")->ifArray()->front().ifDictionary();

    d->addAttachmentEntry(entry);
    ASSERT_EQ(d->attachmentUniqueIDs.size(), 1u);
    auto thumbnail = d->attachmentThumbnails.at(asset->assetURL());
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->width(), 80u) << "fits 80 by 80";
    EXPECT_EQ(thumbnail->height(), 20u);
    EXPECT_TRUE(d->attachmentsData.empty()) << "the data comes later";
    d->addAttachmentEntry(entry);
    EXPECT_EQ(d->attachmentUniqueIDs.size(), 1u) << "no second slot while the first is loading";
    settle();
    EXPECT_EQ(d->attachmentsData.at(asset->assetURL()).get("contentType"), core::Value("image/png"));

    controller->reloadData();
    controller->pressDelete(0);
    dispatch::MainQueue::shared().advance(1);
    owner->changes.clear();
    d->addAttachmentEntry(entry);
    EXPECT_TRUE(d->attachmentUniqueIDs.empty()) << "deleted by the person";

    auto again = std::make_shared<AttachmentFormViewDelegate>(owner, ui::IndexPath{0, 3}, testing::params(made));
    again->addAttachmentEntry(entry);
    controller->setDataSource(again);
    controller->setDelegate(again);
    controller->reloadData();
    controller->pressDelete(0);
    settle();
    EXPECT_TRUE(again->attachmentsData.empty()) << "content for a deleted attachment is dropped";
    EXPECT_TRUE(owner->changes.empty()) << "what was never reported is not reported deleted";
}

// ---- Deletion ---------------------------------------------------------------------------------

using AttachmentDeletion = AttachmentTest;

TEST_F(AttachmentDeletion, TheFirstIsReportedHalfASecondLaterAnyOtherAtOnce) {
    auto d = row();
    picker->pickDocument(source("a.txt", text("a")));
    picker->pickDocument(source("b.txt", text("b")));
    picker->pickDocument(source("c.txt", text("c")));
    controller->reloadData();
    owner->changes.clear();

    ASSERT_TRUE(controller->pressDelete(2));
    ASSERT_EQ(owner->changes.size(), 1u);
    EXPECT_EQ(record(owner->changes[0], "DeletedAttachments").get("content"), core::Value(text("c")));
    EXPECT_EQ(listed(owner->changes[0]), 2u);
    EXPECT_FALSE(owner->changes[0].params.contains("AddedAttachments"));

    ASSERT_TRUE(controller->pressDelete(0));
    dispatch::MainQueue::shared().advance(0.49);
    EXPECT_EQ(owner->changes.size(), 1u);
    dispatch::MainQueue::shared().advance(0.01);
    ASSERT_EQ(owner->changes.size(), 2u);
    EXPECT_EQ(record(owner->changes[1], "DeletedAttachments").get("content"), core::Value(text("a")));
    EXPECT_EQ(listed(owner->changes[1]), 1u);

    d->didPressDeleteAtIndex(*controller, 5);
    EXPECT_TRUE(testing::logged(core::Severity::warn, "no such attachment"));
    EXPECT_EQ(controller->shownAttachments().size(), 1u);
}

TEST_F(AttachmentDeletion, NothingIsSentOnceTheOwnerOrTheRowIsGone) {
    auto d = row(R"({})");
    picker->pickDocument(source("a.txt", text("a")));
    EXPECT_EQ(owner->changes[0].name, std::nullopt) << "a row without a name reports without one";
    controller->reloadData();
    controller->pressDelete(0);
    d.reset();
    picker->setDelegate(nullptr);
    controller->setDelegate(nullptr);
    dispatch::MainQueue::shared().advance(1);
    EXPECT_EQ(owner->changes.size(), 1u);

    auto orphan = row();
    owner.reset();
    EXPECT_TRUE(picker->pickDocument(source("b.txt", text("b"))));
    EXPECT_EQ(orphan->attachmentUniqueIDs.size(), 1u) << "kept, though nobody hears of it";
}

// ---- The row's setter and its owner ------------------------------------------------------------

class AttachmentRow : public AttachmentTest {
protected:
    std::shared_ptr<vessa::VUIAttachmentsFormCell> cell = std::make_shared<vessa::VUIAttachmentsFormCell>();
    std::vector<std::string> actions() const {
        std::vector<std::string> out;
        for (const auto& a : cell->attachmentsController()->attachmentActions()) out.push_back(a->kindName());
        return out;
    }
};

TEST_F(AttachmentRow, ActionsComeInAFixedOrderAndEveryActionServesTheRowShown) {
    EXPECT_EQ(actions(), (std::vector<std::string>{"AddPhoto", "TakePhoto", "SelectFile"}));
    auto first = row();
    FormCellSetters::setAttachmentsFormCellView(cell, testing::params(R"({"AttachmentActionType": []})"), first);
    EXPECT_EQ(actions(), (std::vector<std::string>{"AddPhoto", "TakePhoto", "SelectFile"}));
    FormCellSetters::setAttachmentsFormCellView(
        cell,
        testing::params(R"({"AttachmentActionType": ["SelectFile", "Scan", "AddPhoto"], "AttachmentTitle": "Files %d",
                                  "AttachmentCancelTitle": "Close", "Styles": {"Background": "files"}})"),
        first);
    EXPECT_EQ(actions(), (std::vector<std::string>{"AddPhoto", "SelectFile"}));
    auto& controller = *cell->attachmentsController();
    EXPECT_EQ(controller.attachmentsTitle(), "Files 0");
    EXPECT_EQ(controller.cancelString(), "Close");
    EXPECT_EQ(cell->nuiClass, "files");

    // The cell is reused for another row that names no actions.
    auto second = std::make_shared<AttachmentFormViewDelegate>(owner, ui::IndexPath{0, 4},
                                                               testing::params(R"({"_Name": "other"})"));
    FormCellSetters::setAttachmentsFormCellView(cell, {}, second);
    auto pick =
        std::dynamic_pointer_cast<vessa::VUIDocumentPickerAttachmentAction>(controller.actionOfKind("SelectFile"));
    ASSERT_TRUE(pick->pickDocument(source("x.txt", text("x"))));
    EXPECT_TRUE(first->attachmentUniqueIDs.empty());
    EXPECT_EQ(second->attachmentUniqueIDs.size(), 1u);
    EXPECT_EQ(owner->changes.at(0).name, std::optional<std::string>("other"));
    EXPECT_EQ(controller.reloadCount(), 3);
}

// A reused cell keeps its actions when they are just those the row names,
// as new ones would be; anything else gives new actions in the fixed order.
TEST_F(AttachmentRow, ActionsAsNewOnesWouldBeAreKeptOnAReusedCell) {
    auto first = row();
    auto& controller = *cell->attachmentsController();
    const auto all = testing::params(R"({"AttachmentActionType": ["TakePhoto", "SelectFile", "AddPhoto"]})");
    const auto before = controller.attachmentActions();
    FormCellSetters::setAttachmentsFormCellView(cell, all, first);
    EXPECT_EQ(controller.attachmentActions(), before);

    std::dynamic_pointer_cast<vessa::VUITakePhotoAttachmentAction>(before[1])->title = "Camera";
    FormCellSetters::setAttachmentsFormCellView(cell, all, first);
    ASSERT_EQ(actions(), (std::vector<std::string>{"AddPhoto", "TakePhoto", "SelectFile"}));
    EXPECT_NE(controller.attachmentActions()[1], before[1]) << "a titled camera action is not as new";
    EXPECT_FALSE(
        std::dynamic_pointer_cast<vessa::VUITakePhotoAttachmentAction>(controller.attachmentActions()[1])->title);

    FormCellSetters::setAttachmentsFormCellView(cell, testing::params(R"({"AttachmentActionType": ["SelectFile"]})"),
                                                first);
    EXPECT_EQ(actions(), (std::vector<std::string>{"SelectFile"}));
    FormCellSetters::setAttachmentsFormCellView(
        cell, testing::params(R"({"AttachmentActionType": ["SelectFile", "AddPhoto"]})"), first);
    EXPECT_EQ(actions(), (std::vector<std::string>{"AddPhoto", "SelectFile"}));
    for (const auto& action : controller.attachmentActions()) EXPECT_EQ(action->controller().get(), &controller);
}

// A row built again takes what its delegate made of its list of kinds
// only while that is still the row's list: a list changed in place, one
// given in its stead (also where the old one was), or none at all.
TEST_F(AttachmentRow, ARowBuiltAgainOffersWhatItsListNamesNow) {
    auto d = row();
    auto build = [&](const core::Dictionary& params) {
        FormCellSetters::setAttachmentsFormCellView(cell, params, d);
        return actions();
    };
    using Names = std::vector<std::string>;
    auto params = testing::params(R"({"AttachmentActionType": ["TakePhoto"]})");
    EXPECT_EQ(build(params), Names{"TakePhoto"});
    params.find("AttachmentActionType")->mutableArray()[0] = core::Value("AddPhoto");
    EXPECT_EQ(build(params), Names{"AddPhoto"}) << "changed in place";

    const struct {
        const char* list;
        Names offered;
    } cases[] = {
        {R"(["SelectFile"])", {"SelectFile"}},
        {R"(["TakePhoto"])", {"TakePhoto"}},
        {R"(["AddPhoto", 3])", {"TakePhoto"}},  // not a list of kinds: the cell's stay
        {R"("AddPhoto")", {"TakePhoto"}},
        {R"(["Scan"])", {}},
        {R"(["SelectFile", "AddPhoto"])", {"AddPhoto", "SelectFile"}},
    };
    for (const auto& c : cases) {
        // A list of the same size as the last, made after it was let go.
        EXPECT_EQ(build(testing::params(std::string(R"({"AttachmentActionType": )") + c.list + "}")), c.offered)
            << c.list;
    }
    auto other = std::make_shared<AttachmentFormViewDelegate>(owner, ui::IndexPath{0, 4}, core::Dictionary{});
    FormCellSetters::setAttachmentsFormCellView(cell, params, other);
    EXPECT_EQ(actions(), Names{"AddPhoto"}) << "another row, the same list";
}

TEST_F(AttachmentRow, AFormKeepsEachRowsAttachmentsWhenRowsAboveAreHiddenOrShown) {
    auto form = std::make_shared<FormCellContainerViewController>();
    testing::announce(*form, {3});
    form->sectionNames = {""};
    auto host = testing::reportingDelegate();
    const auto title = testing::params(R"({"_Type": "Control.Type.FormCell.Title", "_Name": "t"})");
    const auto first = testing::params(R"({"_Type": "Control.Type.FormCell.Attachment", "_Name": "one"})");
    const auto second = testing::params(R"({"_Type": "Control.Type.FormCell.Attachment", "_Name": "two"})");
    form->addFormCell(title, host);
    form->addFormCell(first, host);
    form->addFormCell(second, host);
    window->setRootViewController(form);
    settle();
    form->tableView()->layoutIfNeeded();
    auto controllerAt = [&](int row) {
        auto c = std::dynamic_pointer_cast<vessa::VUIAttachmentsFormCell>(form->tableView()->cellForRow({0, row}));
        return c ? c->attachmentsController() : nullptr;
    };
    auto pick = std::dynamic_pointer_cast<vessa::VUIDocumentPickerAttachmentAction>(
        controllerAt(1)->actionOfKind("SelectFile"));
    ASSERT_TRUE(pick->pickDocument(source("one.txt", text("1"))));
    settle();
    ASSERT_EQ(host->calls.size(), 1u);

    core::Dictionary hidden = title;
    hidden.set("IsVisible", false);
    form->updateFormCells(core::Array{core::Value(hidden), core::Value(first), core::Value(second)}, std::nullopt);
    EXPECT_EQ(controllerAt(0)->shownAttachments().size(), 1u) << "row \"one\" moved up with its attachment";
    EXPECT_EQ(controllerAt(1)->shownAttachments().size(), 0u);
    EXPECT_EQ(form->aDelegates.size(), 2u);
}

// The attachments view controller of the row shown at path, scrolled to.
std::shared_ptr<vessa::VUIAttachmentsViewController> shownController(ui::UITableView& table,
                                                                     const ui::IndexPath& path) {
    table.scrollToRow(path, ui::UITableView::ScrollPosition::Top, false);
    table.layoutIfNeeded();
    auto c = std::dynamic_pointer_cast<vessa::VUIAttachmentsFormCell>(table.cellForRow(path));
    return c ? c->attachmentsController() : nullptr;
}

std::size_t shownCount(ui::UITableView& table, const ui::IndexPath& path) {
    auto c = shownController(table, path);
    return c ? c->shownAttachments().size() : 99;
}

constexpr const char* kAttachmentType = "Control.Type.FormCell.Attachment";

core::Dictionary attachmentRow(std::optional<std::string> name) {
    core::Dictionary row{{"_Type", kAttachmentType}};
    if (name) row.set("_Name", *name);
    return row;
}

class AttachmentOwners : public AttachmentRow {
protected:
    void pickAt(ui::UITableView& table, const ui::IndexPath& path, const std::string& file) {
        auto c = shownController(table, path);
        ASSERT_TRUE(c) << path.description();
        auto pick = std::dynamic_pointer_cast<vessa::VUIDocumentPickerAttachmentAction>(c->actionOfKind("SelectFile"));
        ASSERT_TRUE(pick->pickDocument(source(file, text(file))));
        settle();
    }
};

// A host that renames a row gives it the attachments kept under the new
// name; the old name's stay kept for it.
TEST_F(AttachmentOwners, AFormFindsARenamedRowsAttachmentsByItsNewName) {
    auto form = std::make_shared<FormCellContainerViewController>();
    testing::announce(*form, {2});
    form->sectionNames = {""};
    auto host = testing::reportingDelegate();
    form->addFormCell(attachmentRow("one"), host);
    form->addFormCell(attachmentRow("two"), host);
    window->setRootViewController(form);
    settle();
    auto& table = *form->tableView();
    table.layoutIfNeeded();
    pickAt(table, {0, 0}, "one.txt");
    pickAt(table, {0, 1}, "two-a.txt");
    pickAt(table, {0, 1}, "two-b.txt");
    ASSERT_EQ(shownCount(table, {0, 0}), 1u);

    auto rebuilt = [&](const ui::IndexPath& path) {
        table.reloadData();
        return shownCount(table, path);
    };
    form->updateFormCell(testing::params(R"({"_Name": "uno"})"), 0, 0);
    EXPECT_EQ(shownCount(table, {0, 0}), 0u) << "\"uno\" has no attachments";
    EXPECT_EQ(rebuilt({0, 0}), 0u);
    form->updateFormCell(testing::params(R"({"_Name": "two"})"), 0, 0);
    EXPECT_EQ(shownCount(table, {0, 0}), 2u) << "the row now named \"two\" shows that name's";
    EXPECT_EQ(rebuilt({0, 0}), 2u);
    form->updateFormCell(testing::params(R"({"_Name": "one"})"), 0, 0);
    EXPECT_EQ(rebuilt({0, 0}), 1u);
    EXPECT_EQ(rebuilt({0, 1}), 2u);
    EXPECT_EQ(form->aDelegates.size(), 3u);
}

// A row without a name keeps the attachments of the place it was first
// built at; a named row keeps its own wherever it is shown.
TEST_F(AttachmentOwners, ASectionsRowWithoutANameKeepsTheAttachmentsOfItsPlace) {
    auto page = std::make_shared<services::SectionedTableViewController>();
    auto section = FormCellSection::make({{"itemCount", 3}}, nullptr);
    auto host = testing::reportingDelegate();
    const auto title = testing::params(R"({"_Type": "Control.Type.FormCell.Title", "_Name": "t"})");
    section->setFormCellSectionItem(title, host);
    section->setFormCellSectionItem(attachmentRow(std::nullopt), host);
    section->setFormCellSectionItem(attachmentRow("named"), host);
    page->initialize({section});
    window->setRootViewController(page);
    settle();
    auto& table = *page->tableView();
    table.setRowsOnScreen(1);
    table.layoutSubviews();
    pickAt(table, {0, 1}, "unnamed.txt");
    pickAt(table, {0, 2}, "named-a.txt");
    pickAt(table, {0, 2}, "named-b.txt");
    EXPECT_EQ(shownCount(table, {0, 1}), 1u) << "after its cell showed another row";

    core::Dictionary hidden = title;
    hidden.set("IsVisible", false);
    section->updateFormCells({hidden, attachmentRow(std::nullopt), attachmentRow("named")});
    settle();
    EXPECT_EQ(shownCount(table, {0, 0}), 0u) << "the unnamed row is at another place";
    EXPECT_EQ(shownCount(table, {0, 1}), 2u) << "\"named\" moved up with its attachments";
    section->updateFormCells({title, attachmentRow(std::nullopt), attachmentRow("named")});
    settle();
    EXPECT_EQ(shownCount(table, {0, 1}), 1u) << "back at its first place";
    EXPECT_EQ(shownCount(table, {0, 2}), 2u);
    EXPECT_EQ(section->aDelegates.size(), 3u);
}

// Cells are reused as a long form scrolls: each row shows, and adds to,
// its own attachments whichever cell shows it; long names too.
TEST_F(AttachmentOwners, AFormsReusedCellsShowEachRowsOwnAttachments) {
    constexpr int kRows = 12;
    auto form = std::make_shared<FormCellContainerViewController>();
    testing::announce(*form, {kRows});
    form->sectionNames = {""};
    auto host = testing::reportingDelegate();
    for (int i = 0; i < kRows; ++i) {
        form->addFormCell(attachmentRow("WorkOrderRow" + std::to_string(i) + "-with-a-name-longer-than-a-line"), host);
    }
    window->setRootViewController(form);
    settle();
    auto& table = *form->tableView();
    table.setRowsOnScreen(2);
    table.layoutSubviews();
    const auto firstCell = table.cellForRow({0, 0});
    pickAt(table, {0, 0}, "zero.txt");
    pickAt(table, {0, kRows - 1}, "last.txt");
    bool reused = false;
    for (int row = kRows - 1; row >= 0; --row) {
        EXPECT_EQ(shownCount(table, {0, row}), row == 0 || row == kRows - 1 ? 1u : 0u) << row;
        reused = reused || (row > 1 && table.cellForRow({0, row}) == firstCell);
    }
    EXPECT_TRUE(reused) << "row 0's first cell showed another row meanwhile";
    EXPECT_EQ(form->aDelegates.size(), static_cast<std::size_t>(kRows));
    ASSERT_EQ(host->calls.size(), 2u);
}

}  // namespace
}  // namespace trc::formcells
