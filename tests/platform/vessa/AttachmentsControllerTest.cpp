#include "platform/vessa/VUIAttachmentsViewController.h"

#include <gtest/gtest.h>

#include "platform/dispatch/GlobalQueue.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/ImageFiles.h"
#include "platform/ui/PHImageManager.h"
#include "platform/ui/PHPhotoLibrary.h"
#include "platform/vessa/VUIAddPhotoAttachmentAction.h"
#include "platform/vessa/VUIDocumentPickerAttachmentAction.h"
#include "platform/vessa/VUITakePhotoAttachmentAction.h"
#include "testsupport/ProcessStateReset.h"
#include "testsupport/TemporaryFolder.h"

namespace trc::vessa {
namespace {

using foundation::URL;

// Everything the controller and its actions ask and tell, as lines.
class Recorder : public VUIAttachmentsViewControllerDataSource,
                 public VUIAttachmentsViewControllerDelegate,
                 public VUIAddPhotoAttachmentActionDelegate,
                 public VUITakePhotoAttachmentActionDelegate,
                 public VUIDocumentPickerAttachmentActionDelegate {
public:
    std::vector<std::optional<URL>> urls;
    std::vector<std::string> heard;
    std::vector<std::string> types = {"public.plain-text"};

    int numberOfAttachments(VUIAttachmentsViewController&) override { return static_cast<int>(urls.size()); }
    std::optional<Icon> iconForAttachmentAtIndex(VUIAttachmentsViewController&, int) override { return std::nullopt; }
    std::optional<URL> urlForAttachmentAtIndex(VUIAttachmentsViewController&, int i) override {
        return urls[static_cast<std::size_t>(i)];
    }
    void didPressDeleteAtIndex(VUIAttachmentsViewController&, int i) override {
        heard.push_back("delete " + std::to_string(i));
    }
    void couldNotPresentAttachmentAtIndex(VUIAttachmentsViewController&, int i) override {
        heard.push_back("could not present " + std::to_string(i));
    }
    void addPhotoAttachmentAction(VUIAddPhotoAttachmentAction&, const std::shared_ptr<ui::PHAsset>& a,
                                  const URL& u) override {
        heard.push_back("library asset " + *a->filename() + " " + u.lastPathComponent());
    }
    void addPhotoAttachmentAction(VUIAddPhotoAttachmentAction&, const URL& u) override {
        heard.push_back("library file " + u.lastPathComponent());
    }
    void takePhotoAttachmentAction(VUITakePhotoAttachmentAction&, const std::shared_ptr<ui::PHAsset>& a,
                                   const URL&) override {
        heard.push_back("camera asset " + *a->filename());
    }
    void takePhotoAttachmentAction(VUITakePhotoAttachmentAction&, const std::shared_ptr<ui::UIImage>& image) override {
        heard.push_back("camera picture " + std::to_string(image->width()));
    }
    std::shared_ptr<ui::UIDocumentPickerViewController> documentPicker() override {
        return std::make_shared<ui::UIDocumentPickerViewController>(types,
                                                                    ui::UIDocumentPickerViewController::Mode::Import);
    }
    void documentPickerAttachmentAction(VUIDocumentPickerAttachmentAction&, const URL& u) override {
        heard.push_back("document " + u.lastPathComponent());
    }
};

class AttachmentsController : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        controller->setDataSource(recorder);
        controller->setDelegate(recorder);
    }
    void TearDown() override { core::ProcessStateReset::resetAll(); }
    template <class Action>
    std::shared_ptr<Action> action(const char* kind) {
        return std::dynamic_pointer_cast<Action>(controller->actionOfKind(kind));
    }
    std::filesystem::path file(const std::string& name, const trc::testing::Bytes& bytes) {
        trc::testing::writeFile(folder.path() / name, bytes);
        return folder.path() / name;
    }
    std::filesystem::path picture(const std::string& name) {
        return file(name, trc::testing::encodePNG(2, 2, trc::testing::solid(2, 2, {1, 2, 3, 255})));
    }

    foundation::TemporaryFolder folder;
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    std::shared_ptr<VUIAttachmentsViewController> controller = VUIAttachmentsViewController::make();
};

TEST_F(AttachmentsController, ShowsWhatItsDataSourceHoldsAndTellsDeletesAndFailedOpenings) {
    recorder->urls = {URL::fromString("file:///a.txt"), std::nullopt};
    controller->reloadData();
    EXPECT_EQ(controller->attachmentsTitle(), "Attachments (2)");
    controller->customAttachmentsTitleFormat = "%ld files";
    EXPECT_EQ(controller->attachmentsTitle(), "2 files");
    EXPECT_EQ(controller->cancelString(), "Cancel");

    EXPECT_TRUE(controller->openAttachment(0));
    EXPECT_EQ(controller->presentedAttachmentURL()->absoluteString(), "file:///a.txt");
    EXPECT_TRUE(controller->openAttachment(1));
    EXPECT_FALSE(controller->openAttachment(2));
    EXPECT_TRUE(controller->pressDelete(1));
    EXPECT_FALSE(controller->pressDelete(1));
    EXPECT_FALSE(controller->pressDelete(-1));
    EXPECT_EQ(recorder->heard, (std::vector<std::string>{"could not present 1", "delete 1"}));
    EXPECT_EQ(controller->shownAttachments().size(), 1u);
}

TEST_F(AttachmentsController, DefaultActionsTellTheControllersDelegateAndLeaveWithTheirController) {
    auto add = action<VUIAddPhotoAttachmentAction>("AddPhoto");
    ASSERT_TRUE(add);
    EXPECT_EQ(add->pickPhotos({picture("p.png"), file("not.png", {1, 2, 3})}), 1) << "a non-picture is refused";
    EXPECT_EQ(recorder->heard, std::vector<std::string>{"library file p.png"});

    auto other = std::make_shared<Recorder>();
    add->setDelegate(other);
    add->pickPhotos({picture("q.png")});
    EXPECT_EQ(other->heard.size(), 1u) << "an action's own delegate comes first";

    auto take = action<VUITakePhotoAttachmentAction>("TakePhoto");
    controller->removeAllAttachmentActions();
    EXPECT_TRUE(controller->attachmentActions().empty());
    EXPECT_FALSE(take->takePhoto(picture("c.png"))) << "no controller, no delegate to tell";
}

// Actions that stay keep their controller, those that leave lose it (a
// person's choice in them tells nobody through it), newcomers gain it,
// also one another controller offered last.
TEST_F(AttachmentsController, ReplacedActionsReferToTheControllerThatOffersThem) {
    auto add = action<VUIAddPhotoAttachmentAction>("AddPhoto");
    auto take = action<VUITakePhotoAttachmentAction>("TakePhoto");
    auto other = VUIAttachmentsViewController::make();
    auto borrowed = other->actionOfKind("SelectFile");
    std::vector<std::shared_ptr<VUIAttachmentAction>> next = {borrowed, nullptr, add};
    controller->replaceAttachmentActions(next);

    EXPECT_EQ(controller->attachmentActions(), (std::vector<std::shared_ptr<VUIAttachmentAction>>{borrowed, add}));
    ASSERT_EQ(next.size(), 3u) << "the actions offered before come back";
    EXPECT_EQ(next[0], add);
    EXPECT_EQ(next[1], take);
    EXPECT_EQ(add->controller(), controller);
    EXPECT_EQ(borrowed->controller(), controller);
    EXPECT_FALSE(take->controller());
    EXPECT_FALSE(take->takePhoto(picture("c.png"))) << "no controller, no delegate to tell";
    EXPECT_EQ(add->pickPhotos({picture("p.png")}), 1);
    EXPECT_EQ(recorder->heard, std::vector<std::string>{"library file p.png"});

    next.clear();
    controller->replaceAttachmentActions(next);
    EXPECT_TRUE(controller->attachmentActions().empty());
    EXPECT_FALSE(add->controller());
    EXPECT_FALSE(borrowed->controller());
}

TEST_F(AttachmentsController, LibraryAccessDecidesBetweenAssetsAndFiles) {
    auto& library = ui::PHPhotoLibrary::shared();
    library.authorizationStatus = ui::PHPhotoLibrary::AuthorizationStatus::Denied;
    action<VUITakePhotoAttachmentAction>("TakePhoto")->takePhoto(picture("c.png"));
    EXPECT_TRUE(library.assets().empty());

    library.authorizationStatus = ui::PHPhotoLibrary::AuthorizationStatus::Authorized;
    action<VUIAddPhotoAttachmentAction>("AddPhoto")->pickPhotos({picture("p.png"), folder.path() / "p.png"});
    action<VUITakePhotoAttachmentAction>("TakePhoto")->takePhoto(picture("c.png"));
    EXPECT_EQ(recorder->heard, (std::vector<std::string>{"camera picture 2", "library asset p.png p.png",
                                                         "library asset p.png p.png", "camera asset c.png"}));
    ASSERT_EQ(library.assets().size(), 2u) << "a photo picked twice is one asset";

    auto asset = library.assets().front();
    EXPECT_EQ(library.fetchAssetsWithALAssetURLs({asset->assetURL()}), std::vector{asset});
    EXPECT_EQ(library.fetchAssetsWithLocalIdentifiers({asset->localIdentifier()}), std::vector{asset});
    EXPECT_TRUE(asset->assetURL().starts_with("assets-library://asset/asset.PNG?id="));
    library.authorizationStatus = ui::PHPhotoLibrary::AuthorizationStatus::Denied;
    EXPECT_TRUE(library.fetchAssetsWithLocalIdentifiers({asset->localIdentifier()}).empty());

    std::optional<core::Data> data;
    ui::PHImageManager::requestImageData(asset, [&](std::optional<core::Data> d) { data = std::move(d); });
    dispatch::GlobalQueue::shared().waitUntilIdle(10);
    ASSERT_TRUE(data);
    EXPECT_GT(data->size(), 8u);
}

TEST_F(AttachmentsController, TheDocumentPickerOffersOnlyItsTypes) {
    auto pick = action<VUIDocumentPickerAttachmentAction>("SelectFile");
    EXPECT_FALSE(pick->pickDocument(picture("photo.png")));
    EXPECT_FALSE(pick->pickDocument(folder.path() / "missing.txt"));
    EXPECT_TRUE(pick->pickDocument(file("notes.TXT", {'x'})));
    recorder->types = {"public.data"};
    EXPECT_TRUE(pick->pickDocument(file("blob.nosuchtype", {'y'})));
    EXPECT_EQ(recorder->heard, (std::vector<std::string>{"document notes.TXT", "document blob.nosuchtype"}));
    EXPECT_EQ(pick->lastDocumentPicker()->documentTypes(), std::vector<std::string>{"public.data"});
}

}  // namespace
}  // namespace trc::vessa
