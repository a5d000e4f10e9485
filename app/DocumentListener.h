// What the windows learn of the open documents: the document manager tells
// every registered listener, so that a document never reaches into a window.
#pragma once

class CDocManager;
class CKibDoc;

class CDocumentListener {
public:
    virtual ~CDocumentListener() = default;

    // Called synchronously, on every registered listener in registration
    // order. A listener may remove itself (or another) from inside a notice;
    // a removed listener is not called again.

    // The document was read (or created empty) and is now in the list; no
    // window shows it yet.
    virtual void OnDocumentOpened(CKibDoc& doc) {}
    // Its title or path changed (a save under a new name, a new title).
    virtual void OnDocumentRenamed(CKibDoc& doc) {}
    // IsModified() changed.
    virtual void OnDocumentModifiedChanged(CKibDoc& doc) {}
    // Written to its path.
    virtual void OnDocumentSaved(CKibDoc& doc) {}
    // The document should come to the front (opened, or asked for again).
    virtual void OnDocumentActivated(CKibDoc& doc) {}
    // Last notice before the document goes: its windows close now.
    virtual void OnDocumentClosing(CKibDoc& doc) {}
    // A document has gone from the list.
    virtual void OnDocumentRemoved() {}

    // Every document is about to close: a listener may close them first,
    // in an order of its own (through docs.CloseDocument); the manager then
    // closes what is left and tells OnAllClosed.
    virtual void OnAllClosing(CDocManager& docs) {}
    virtual void OnAllClosed() {}
};
