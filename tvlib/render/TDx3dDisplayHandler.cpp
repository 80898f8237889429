// The 3-D operations of the display handler over the software device.
#include "tvlib/render/TDx3dDisplayHandler.h"

#include <cmath>

#include "tvlib/core/TColor32.h"
#include "tvlib/platform/render/TDeviceMath.h"
#include "tvlib/render/TDxDisplayHandlerData.h"
#include "tvlib/render/TLightRecords.h"

namespace {

// Below this determinant a ray counts as parallel to the triangle.
constexpr float kParallelEpsilon = 0.0001f;
constexpr float kDefaultFieldOfView = 0.7853982f;

sd::TMatrix ToDevice(const TMat4& m) {
  sd::TMatrix r;
  for (int i = 0; i < 4; ++i) {
    r.m[i][0] = m.rows[i].x;
    r.m[i][1] = m.rows[i].y;
    r.m[i][2] = m.rows[i].z;
    r.m[i][3] = m.rows[i].w;
  }
  return r;
}

TMat4 FromDevice(const sd::TMatrix& m) {
  TMat4 r;
  for (int i = 0; i < 4; ++i) r.rows[i] = TVec4{m.m[i][0], m.m[i][1], m.m[i][2], m.m[i][3]};
  return r;
}

sd::TVector3 V(const float v[3]) {
  return sd::TVector3{v[0], v[1], v[2]};
}
sd::TColorValue C(const float c[4]) {
  return sd::TColorValue{c[0], c[1], c[2], c[3]};
}

void Sub(const float a[3], const float b[3], float out[3]) {
  for (int i = 0; i < 3; ++i) out[i] = a[i] - b[i];
}
void Cross(const float a[3], const float b[3], float out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}
float Dot(const float a[3], const float b[3]) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

}  // namespace

void TDx3dDisplayHandler::SetTransform(uint32_t which, const TMat4& matrix, bool checkMemory) {
  sd::TDevice3d* device = Data().device;
  if (!device) return;
  sd::HR hr = device->SetTransform(which, ToDevice(matrix));
  if (checkMemory) Check(hr);
}

void TDx3dDisplayHandler::GetTransform(uint32_t which, TMat4* matrix) {
  sd::TDevice3d* device = Data().device;
  if (!device || !matrix) return;
  sd::TMatrix m;
  if (sd::Succeeded(Check(device->GetTransform(which, &m)))) *matrix = FromDevice(m);
}

bool TDx3dDisplayHandler::IntersectTriangle(const float origin[3], const float direction[3],
                                            const float a[3], const float b[3], const float c[3],
                                            float* distance, float hit[3]) {
  float e1[3], e2[3], p[3], s[3], q[3];
  Sub(b, a, e1);
  Sub(c, a, e2);
  Cross(direction, e2, p);
  float det = Dot(e1, p);
  if (det > 0) {
    Sub(origin, a, s);
  } else {
    Sub(a, origin, s);
    det = -det;
  }
  if (det < kParallelEpsilon) return false;
  float u = Dot(s, p);
  if (u < 0 || u > det) return false;
  Cross(s, e1, q);
  float v = Dot(direction, q);
  if (v < 0 || u + v > det) return false;
  if (distance) *distance = Dot(e2, q) / det;
  if (hit) {
    sd::TVector3 point = sd::Vec3BaryCentric(V(a), V(b), V(c), u / det, v / det);
    hit[0] = point.x;
    hit[1] = point.y;
    hit[2] = point.z;
  }
  return true;
}

void TDx3dDisplayHandler::SetMaterial(const TMaterial& material) {
  sd::TDevice3d* device = Data().device;
  if (!device) return;
  sd::TMaterial m;
  m.diffuse = C(material.diffuse);
  m.ambient = C(material.ambient);
  m.specular = C(material.specular);
  m.emissive = C(material.emissive);
  m.power = material.power;
  Check(device->SetMaterial(m));
}

void TDx3dDisplayHandler::SetLight(int index, const TLight* light) {
  sd::TDevice3d* device = Data().device;
  if (!device || index < 0) return;
  uint32_t slot = static_cast<uint32_t>(index);
  if (!light) {
    Check(device->LightEnable(slot, false));
    return;
  }
  if (sd::Failed(Check(device->LightEnable(slot, true)))) return;
  sd::TLight l;
  l.type = light->type == kLightTypePoint  ? sd::kLightPoint
           : light->type == kLightTypeSpot ? sd::kLightSpot
                                           : sd::kLightDirectional;
  l.diffuse = C(light->diffuse);
  l.specular = C(light->specular);
  l.ambient = C(light->ambient);
  l.position = V(light->position);
  l.direction = V(light->direction);
  l.range = light->range;
  l.attenuation0 = light->attenuation[0];
  l.attenuation1 = light->attenuation[1];
  l.attenuation2 = light->attenuation[2];
  l.theta = light->theta;
  l.phi = light->phi;
  l.falloff = 1.0f;
  if (sd::Failed(Check(device->SetLight(slot, l)))) device->LightEnable(slot, false);
}

bool TDx3dDisplayHandler::Begin3d() {
  if (!Data().device) return false;
  if (!Data().noSpecular) SetRenderState(sd::kRsSpecularEnable, 1);
  SetRenderState(sd::kRsZEnable, 1);
  SetRenderState(sd::kRsZWriteEnable, 1);
  SetRenderState(sd::kRsClipping, 1);
  SetModulateStage(sd::kTaCurrent);
  SetStageState(sd::kTssMinFilter, sd::kTfnLinear);
  SetStageState(sd::kTssMagFilter, sd::kTfgLinear);
  SetTextureAddressMode(1, 1);
  SetCullMode(3);
  return true;
}

bool TDx3dDisplayHandler::SetDisplay(int width, int height, bool fullScreen, bool force, bool quiet,
                                     bool embedded) {
  TRenderHost* host = Data().host;
  if (host && !host->IsVisible() && !force) return false;
  bool result = TDxDisplayHandler::SetDisplay(width, height, fullScreen, force, quiet, embedded);
  if (IsDeviceValid()) {
    SetWorldMatrix(TMat4{});
    SetViewMatrix(TMat4{});
    SetPerspective(0.1f, 1000.0f, kDefaultFieldOfView, 0.0f);
    SetAmbientColor(1, 1, 1, 1);
    TMaterial material;
    const float white[4] = {1, 1, 1, 1}, grey[4] = {0.5f, 0.5f, 0.5f, 1}, black[4] = {0, 0, 0, 1};
    for (int i = 0; i < 4; ++i) {
      material.diffuse[i] = white[i];
      material.ambient[i] = grey[i];
      material.specular[i] = white[i];
      material.emissive[i] = black[i];
    }
    material.power = 1.0f;
    SetMaterial(material);
  }
  return result;
}

void TDx3dDisplayHandler::DrawVertices(int primitive, const TVertexSet& vertices) {
  sd::TDevice3d* device = Data().device;
  if (!device) return;
  int format = vertices.GetFormat();
  uint32_t fvf = SelectVertexFormat(format);
  sd::HR hr = device->DrawPrimitive(static_cast<uint32_t>(primitive), fvf, vertices.GetVertices(),
                                    static_cast<uint32_t>(std::max(vertices.GetCount(), 0)));
  if (hr != sd::kOk) {
    Check(hr);
    MarkDeviceBroken();
  }
  RestoreVertexTransforms(format);
}

void TDx3dDisplayHandler::DrawIndexedVertices(int primitive, const TVertexSet& vertices,
                                              const uint16_t* indices, int indexCount) {
  sd::TDevice3d* device = Data().device;
  if (!device) return;
  int format = vertices.GetFormat();
  uint32_t fvf = SelectVertexFormat(format);
  Check(device->DrawIndexedPrimitive(static_cast<uint32_t>(primitive), fvf, vertices.GetVertices(),
                                     static_cast<uint32_t>(std::max(vertices.GetCount(), 0)),
                                     indices, static_cast<uint32_t>(std::max(indexCount, 0))));
  RestoreVertexTransforms(format);
}

void TDx3dDisplayHandler::SetWorldMatrix(const TMat4& matrix) {
  SetTransform(sd::kTransformWorld, matrix, false);
}

void TDx3dDisplayHandler::SetViewMatrix(const TMat4& matrix) {
  SetTransform(sd::kTransformView, matrix, true);
}

void TDx3dDisplayHandler::SetProjectionMatrix(const TMat4& matrix) {
  if (!Data().device) return;
  SetTransform(sd::kTransformProjection, matrix, true);
  Data().projection = matrix;
}

void TDx3dDisplayHandler::SetViewLookAt(const float eye[3], const float at[3], const float up[3]) {
  if (!Data().device) return;
  SetViewMatrix(FromDevice(sd::MatrixLookAtLH(V(eye), V(at), V(up))));
}

void TDx3dDisplayHandler::SetPerspective(float nearZ, float farZ, float fieldOfView, float aspect) {
  TDxDisplayHandlerData& d = Data();
  if (!d.device) return;
  d.nearZ = nearZ;
  d.farZ = farZ;
  if (aspect == 0.0f) {
    aspect = static_cast<float>(d.viewport.bottom - d.viewport.top) /
             static_cast<float>(d.viewport.right - d.viewport.left);
  }
  SetProjectionMatrix(FromDevice(sd::MatrixPerspectiveFovLH(fieldOfView, aspect, nearZ, farZ)));
}

void TDx3dDisplayHandler::SetOrthographic(float nearZ, float farZ) {
  TDxDisplayHandlerData& d = Data();
  if (!d.device) return;
  d.nearZ = nearZ;
  d.farZ = farZ;
  SetProjectionMatrix(FromDevice(
      sd::MatrixOrthoLH(static_cast<float>(d.viewport.right - d.viewport.left),
                        static_cast<float>(d.viewport.bottom - d.viewport.top), nearZ, farZ)));
}

void TDx3dDisplayHandler::GetWorldMatrix(TMat4* matrix) {
  GetTransform(sd::kTransformWorld, matrix);
}
void TDx3dDisplayHandler::GetViewMatrix(TMat4* matrix) {
  GetTransform(sd::kTransformView, matrix);
}
void TDx3dDisplayHandler::GetProjectionMatrix(TMat4* matrix) {
  GetTransform(sd::kTransformProjection, matrix);
}

void TDx3dDisplayHandler::SetCullMode(int mode) {
  uint32_t cull = mode == 2 ? sd::kCullCw : mode == 3 ? sd::kCullCcw : sd::kCullNone;
  SetRenderState(sd::kRsCullMode, cull);
}

void TDx3dDisplayHandler::SetAmbientColor(float red, float green, float blue, float alpha) {
  SetRenderState(sd::kRsAmbient, TColor32(red, green, blue, alpha).GetValue());
}
