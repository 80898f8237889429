// The drawable node of the framework: a texture drawn under a drawing record, with child
// sprites kept in layer order (negative layers behind the sprite's own image, the others in
// front; equal layers in the order they were added), a visibility flag and a parent link.
//
// Sprites are shared through shared pointers; the child list owns the children, the parent
// link is plain and cleared whenever a child leaves its parent. Drawing and bounds take the
// parent's record and a depth that limits how many generations are visited (-1: all).
// Every class has a static GetClassId and Create (layer); IsKindOf accepts the class's own id
// and its bases'. UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "tvlib/core/TAsset.h"
#include "tvlib/core/TRect.h"
#include "tvlib/media/TDrawSpec.h"

class TTexture;

// Gives a sprite class its identity, an IsKindOf that asks the base for the rest, and Create.
#define TV_SPRITE_CLASS(Class, Base)                        \
 public:                                                    \
  static TClassId GetClassId() {                            \
    static const char id = 0;                               \
    return &id;                                             \
  }                                                         \
  static std::shared_ptr<Class> Create(int layer) {         \
    return std::make_shared<Class>(layer);                  \
  }                                                         \
  bool IsKindOf(TClassId id) const override {               \
    return id == Class::GetClassId() || Base::IsKindOf(id); \
  }

class TSprite : public std::enable_shared_from_this<TSprite> {
 public:
  // The rectangle of a sprite without texture or children: any union replaces it.
  static constexpr int kNoBounds = 10000000;

  static TClassId GetClassId() {
    static const char id = 0;
    return &id;
  }
  static std::shared_ptr<TSprite> Create(int layer) { return std::make_shared<TSprite>(layer); }

  explicit TSprite(int layer = 0);
  // Detaches every child.
  virtual ~TSprite();
  TSprite(const TSprite&) = delete;
  TSprite& operator=(const TSprite&) = delete;

  virtual bool IsKindOf(TClassId id) const { return id == GetClassId(); }
  virtual void Draw(const TDrawSpec& parent, int depth);
  // False when `child` is not one of this sprite's children.
  virtual bool RemoveChild(TSprite* child);
  // The screen rectangle of the sprite's image (its scale left out) united with its
  // children's, every child included whatever its layer or the depth.
  virtual TRect GetBoundingRect(const TDrawSpec& parent, int depth);
  virtual void SetTexture(std::shared_ptr<TTexture> texture);
  // Stable sort of the children by ascending layer.
  virtual void SortChildren();

  // Takes the child from its old parent, appends it and sorts. Adding a sprite to itself or
  // to one of its own descendants would make a loop: it is refused with a log line.
  void AddChild(const std::shared_ptr<TSprite>& child);
  // Inside the bounding rectangle, edges included; never for a sprite without texture.
  bool HitTest(TVec2 point, const TDrawSpec& parent, int depth);

  void SetVisible(bool visible) { mVisible = visible; }
  bool IsVisible() const { return mVisible; }
  void SetLayer(int layer);
  int GetLayer() const { return mLayer; }
  // Extra uniform scale about the sprite's own position, applied when drawing.
  void SetScale(float scale) { mScale = scale; }
  float GetScale() const { return mScale; }
  TDrawSpec& GetDrawSpec() { return mSpec; }
  const TDrawSpec& GetDrawSpec() const { return mSpec; }
  const std::shared_ptr<TTexture>& GetTexture() const { return mTexture; }
  TSprite* GetParent() const { return mParent; }
  const std::vector<std::shared_ptr<TSprite>>& GetChildren() const { return mChildren; }

 protected:
  // Draws the children whose layer is negative (behind) or not (in front) with `spec`.
  void DrawChildren(const TDrawSpec& spec, int depth, bool behind);
  // Clears every child's parent link and empties the list.
  void DetachChildren();

  TDrawSpec mSpec;

 private:
  TSprite* mParent = nullptr;
  bool mVisible = true;
  int mLayer;
  std::shared_ptr<TTexture> mTexture;
  std::vector<std::shared_ptr<TSprite>> mChildren;
  float mScale = 1.0f;
};
