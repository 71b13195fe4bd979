#pragma once
// Copying drawing objects: the generic assignment through the property
// tables that TDrawObject::Assign falls back on, and clones made from it.

#include <memory>

namespace orvella {

class TDrawObject;
class TPersistent;

// Copies every published value of source into target, nested owned objects
// included, defaults too (a stream would leave out what equals its default).
// Both must be of the same class. Extra stored data (define-properties
// entries, collections) is not copied: classes that keep such data override
// TDrawObject::Assign.
void AssignPublished(TPersistent& target, const TPersistent& source);

// A new, unparented instance of source's class assigned from it, with the
// same Name. Raises std::logic_error for a class that cannot be created.
std::unique_ptr<TDrawObject> CloneObject(const TDrawObject& source);

}  // namespace orvella
