#pragma once
// Decides whether a scanned code is taken: the scanner hands every decoded
// text to its delegate and shows the confirmation for an accepted one, or
// the invalid-code alert for a refused one. Main thread.

#include <string>

namespace trc::vessa {

class VUIOnboardingScanViewController;

class VUIOnboardingScanViewControllerDelegate {
public:
    virtual ~VUIOnboardingScanViewControllerDelegate() = default;

    virtual bool scanViewControllerShouldValidateScanResult(VUIOnboardingScanViewController& scanner,
                                                            const std::string& scanResult) = 0;
};

}  // namespace trc::vessa
