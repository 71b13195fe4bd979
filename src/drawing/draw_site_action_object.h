#pragma once
// The object commands of the editor: z-order, select all, lock, writing
// direction, rotation and the property dialog.

#include "drawing/draw_site_action.h"

namespace orvella {

class TDSABringToFront : public TStandardDSA {
public:
    explicit TDSABringToFront(QObject* parent = nullptr);
    void EachObject(TDrawSite& site, TDrawObject& object) override;
};

class TDSASendToBack : public TStandardDSA {
public:
    explicit TDSASendToBack(QObject* parent = nullptr);
    void EachObject(TDrawSite& site, TDrawObject& object) override;
};

class TDSASelectAll : public TStandardDSA {
public:
    explicit TDSASelectAll(QObject* parent = nullptr);
    void MakeList(TDrawSite& site) override;
    void EachObject(TDrawSite& site, TDrawObject& object) override;
};

// Makes objects unmovable; objects already so are no targets.
class TDSALock : public TStandardDSA {
public:
    explicit TDSALock(QObject* parent = nullptr);
    void MakeList(TDrawSite& site) override;
    void EachObject(TDrawSite& site, TDrawObject& object) override;

protected:
    TDSALock(const char* caption, const char* undoCaption, bool movable, QObject* parent);

private:
    bool movable_;
};

class TDSAUnlock : public TDSALock {
public:
    explicit TDSAUnlock(QObject* parent = nullptr);
};

// Vertical writing for the objects that offer it and write the other way.
class TDSAVertText : public TStandardDSA {
public:
    explicit TDSAVertText(QObject* parent = nullptr);
    void MakeList(TDrawSite& site) override;
    void EachObject(TDrawSite& site, TDrawObject& object) override;

protected:
    TDSAVertText(const char* caption, bool vertical, QObject* parent);

private:
    bool vertical_;
};

class TDSAHorzText : public TDSAVertText {
public:
    explicit TDSAHorzText(QObject* parent = nullptr);
};

// Opens the property dialog of the one selected label object.
class TDSAEditProperty : public TStandardDSA {
public:
    explicit TDSAEditProperty(QObject* parent = nullptr);
    void EachObject(TDrawSite& site, TDrawObject& object) override;
};

// Turns the objects that can rotate by OffsetAngle degrees.
class TDSAOffsetAngle : public TStandardDSA {
public:
    TDSAOffsetAngle(const char* caption, int32_t offsetAngle, QObject* parent = nullptr);
    void MakeList(TDrawSite& site) override;
    void EachObject(TDrawSite& site, TDrawObject& object) override;

    int32_t OffsetAngle;
};

// The three rotation commands of the editor's menu.
TDSAOffsetAngle* MakeRotateRight(QObject* parent = nullptr);
TDSAOffsetAngle* MakeRotateHalf(QObject* parent = nullptr);
TDSAOffsetAngle* MakeRotateLeft(QObject* parent = nullptr);

// Drops the targets for which keep answers false.
void FilterTargets(TDOList& targets, const std::function<bool(TDrawObject&)>& keep);

}  // namespace orvella
