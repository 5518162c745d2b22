#pragma once
// What the attachment and signature rows add to the host simulator: user
// actions that act as the person on them: "attach" (a photo from the library, a photo taken with the
// camera, or a document, given as files beside the scenario), "deleteAttachment",
// "sign" (draw strokes on the signature pad and finish) and
// "cancelSignature". What a row shows is checked through the "cell" and
// "screen" receivers of the UI layer.
//
// Misuse in a scenario (no such row, a row of another kind, an action the
// row does not offer, a file that is not there, strokes of the wrong shape)
// fails the step with a ScenarioError; what the screen itself refuses (a
// file of a type the picker does not offer, a picture that is none, an
// empty pad) changes nothing and is not a failure. Main thread only.

namespace trc::simulator {

class AttachmentSignatureScenarioSupport {
public:
    // Registers the user actions; harmless twice.
    static void install();
};

}  // namespace trc::simulator
