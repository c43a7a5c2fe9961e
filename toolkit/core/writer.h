// Writes a component tree (a form with everything it holds) as a form
// description. A property is left out when its holder says it is not stored
// or when it equals the default its class declares (Q_CLASSINFO
// "Default.<Property>", most derived class first); a property without a
// declared default is always written. Events are written by handler name.
#pragma once

#include "toolkit/core/formdesc.h"

namespace wt {

class TComponent;

TFormObject WriteComponentTree(TComponent* root);
QString WriteFormDescription(TComponent* root);
// The default a class declares for a property, as written in a form.
QString DeclaredDefault(const TComponent* component, const char* property);

} // namespace wt
