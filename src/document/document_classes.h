#pragma once
// The one place where the classes a stream may name are made known, with the
// designer that makes label objects by class or command name. Each floor
// registers its own classes and first calls the floor below, so the
// program, the developer's tool and the tests all ask the topmost floor they
// link and get everything beneath it too:
//
//   void RegisterObjectClasses()          // one floor up, later
//   {
//       RegisterDocumentClasses();
//       RegisterClasses({&TLOLine::StaticClassInfo(), ...});
//       LabelObjectCreator().AddCommand("TLOLine", {...});
//   }
//
// Calling it again does no harm (a cleared designer list gets the creator
// back). User-interface thread only.

namespace orvella {

class TLOCreator;

// The paper catalogue's classes, the label document's, the label object
// base classes and the group; the creator joins the designer registry.
void RegisterDocumentClasses();

// The program's creator of label objects: higher floors add their creation
// commands and aliases to it, and the layout editor installs its hooks.
TLOCreator& LabelObjectCreator();

}  // namespace orvella
