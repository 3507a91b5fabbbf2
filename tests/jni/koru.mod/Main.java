package koru.mod;

// Tells which module it runs in; Main$Reflect reaches into java.lang, which only --add-opens allows.
public class Main {
    public static void main(String[] args) { System.out.println("started in " + Main.class.getModule().getName()); }

    public static class Reflect {
        public static void main(String[] args) throws Exception {
            String.class.getDeclaredField("value").setAccessible(true);
            System.out.println("opened java.lang");
        }
    }
}
