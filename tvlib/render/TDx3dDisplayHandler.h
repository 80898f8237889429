// The display handler the program creates: TDxDisplayHandler with the 3-D operations filled in
// (material, lights, transforms, look-at and projections, culling, ambient light, the 3-D state,
// vertex submission and triangle picking), and a SetDisplay that gives every new device a
// default camera, lighting and material.
//
// Matrices are TMat4, row-major with row vectors, left-handed, as the device reads them. Every
// operation does nothing without a device. Main thread only.
#pragma once

#include "tvlib/render/TDxDisplayHandler.h"

class TPlatform;

class TDx3dDisplayHandler : public TDxDisplayHandler {
 public:
  using TDxDisplayHandler::TDxDisplayHandler;

  // Creates the handler and installs it in the platform (which owns it from then on).
  static TDx3dDisplayHandler* CreateForPlatform(TPlatform* platform);

  bool IntersectTriangle(const float origin[3], const float direction[3], const float a[3],
                         const float b[3], const float c[3], float* distance,
                         float hit[3]) override;
  void SetMaterial(const TMaterial& material) override;
  void SetLight(int index, const TLight* light) override;
  bool Begin3d() override;
  void End3d() override {}
  bool SetDisplay(int width, int height, bool fullScreen, bool force, bool quiet,
                  bool embedded) override;
  void DrawVertices(int primitive, const TVertexSet& vertices) override;
  void DrawIndexedVertices(int primitive, const TVertexSet& vertices, const uint16_t* indices,
                           int indexCount) override;
  void SetWorldMatrix(const TMat4& matrix) override;
  void SetViewMatrix(const TMat4& matrix) override;
  void SetProjectionMatrix(const TMat4& matrix) override;
  void SetViewLookAt(const float eye[3], const float at[3], const float up[3]) override;
  void SetPerspective(float nearZ, float farZ, float fieldOfView, float aspect) override;
  void SetOrthographic(float nearZ, float farZ) override;
  void GetWorldMatrix(TMat4* matrix) override;
  void GetViewMatrix(TMat4* matrix) override;
  void GetProjectionMatrix(TMat4* matrix) override;
  void SetCullMode(int mode) override;
  void SetAmbientColor(float red, float green, float blue, float alpha) override;

 private:
  void SetTransform(uint32_t which, const TMat4& matrix, bool checkMemory);
  void GetTransform(uint32_t which, TMat4* matrix);
};
