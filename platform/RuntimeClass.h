#pragma once
// Run-time classes: the document template creates the document, frame and
// view from these, by name and without knowing their types.

class CCmdTarget;

struct CRuntimeClass {
    const char* m_lpszClassName;
    CCmdTarget* (*m_pfnCreateObject)();
    CCmdTarget* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNCREATE(class_name)               \
public:                                             \
    static const CRuntimeClass class##class_name;   \
    static CCmdTarget* CreateObject();

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                   \
    CCmdTarget* class_name::CreateObject() { return new class_name; }                      \
    const CRuntimeClass class_name::class##class_name = { #class_name,                     \
                                                          &class_name::CreateObject };
