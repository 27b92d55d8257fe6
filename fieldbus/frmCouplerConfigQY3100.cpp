// The QY3100 controller-coupler's placeholder: no settings of its own, only the fixed note;
// table 100 is read, defaulted and written back as every coupler form does.
#include "fieldbus/coupler_form_specs.h"

namespace varnak {
namespace {

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmCouplerConfigQY3100";
    s.groups = {Group{}};
    Binding note;
    note.name = "Label1";
    note.kind = BindingKind::Label;
    note.caption = {0, "Under construction"};
    s.bindings.push_back(note);
    return s;
}

}  // namespace

const FormSpec& frmCouplerConfigQY3100Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
