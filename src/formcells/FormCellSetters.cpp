// Placeholder bodies: each family of kinds replaces its own in a source of
// its own (FormCellSetters+Text.cpp and the like) and removes it from here.
// Until then a row of that kind shows as the cell comes.

#include "formcells/FormCellSetters.h"

namespace trc::formcells {

void FormCellSetters::setAttachmentsFormCellView(const std::shared_ptr<vessa::VUIAttachmentsFormCell>&, const Params&,
                                                 const std::shared_ptr<AttachmentFormViewDelegate>&) {}

void FormCellSetters::setButtonFormCellView(const std::shared_ptr<vessa::VUIButtonFormCell>&, const Params&) {}

void FormCellSetters::initDefaultFilterFormCellView(const std::shared_ptr<vessa::VUIFilterFormCell>&, const Params&,
                                                    bool) {}
void FormCellSetters::setFilterFormCellView(const std::shared_ptr<vessa::VUIFilterFormCell>&, const Params&, bool) {}

void FormCellSetters::setSignatureCaptureFormCell(const std::shared_ptr<vessa::VUITextFieldFormCell>&, const Params&) {}
void FormCellSetters::setSignatureCaptureLabel(const std::shared_ptr<vessa::VUITextFieldFormCell>&, const Params&) {}

}  // namespace trc::formcells
