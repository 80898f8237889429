// Typed access to a script table held by native code: fields read with a type and a default,
// nested tables and functions handed out as new wrappers, and traversal. The table stays
// alive as long as the wrapper (it anchors the table itself, so later changes to the field
// it came from do not affect it). UI thread only.
#pragma once

#include "tvlib/core/TString.h"
#include "tvlib/script/TLuaObjectWrapper.h"

class TLuaTable : public TLuaObjectWrapper {
 public:
  // Anchors the table on the stack top, popping it.
  using TLuaObjectWrapper::TLuaObjectWrapper;

  // Gives the wrapper to the script owning the state, which deletes it before it next runs.
  void DeleteLater();

  // Push the field (looked up with metamethods); the caller pops it.
  void PushField(const char* key) const;
  void PushItem(int index) const;

  // Typed reads; a nil field gives the default. Strings convert numbers; a number field
  // holding something that is not a number reads 0; only nil and false are false.
  TString GetString(const char* key, const TString& def) const;
  TString GetStringAt(int index, const TString& def) const;
  double GetNumber(const char* key, double def) const;
  double GetNumberAt(int index, double def) const;
  bool GetBool(const char* key, bool def) const;
  // New wrappers owned by the caller, or null when the field is not a function / table.
  TLuaFunction* GetFunction(const char* key) const;
  TLuaTable* GetTable(const char* key) const;
  TLuaTable* GetTableAt(int index) const;

  // One step of a traversal: start with *key null; returns the next value and replaces
  // *key (deleting the old one), both owned by the caller; null and *key null at the end.
  TLuaObjectWrapper* Next(TLuaObjectWrapper** key) const;
};
