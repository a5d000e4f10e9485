/**
 * Ein kleines Beispiel fuer Kib: F9 compiliert, Strg+F9 startet,
 * Strg+F5 macht beides nacheinander.
 */
public class Hallo
{
    public static void main(String[] args)
    {
        String name = args.length > 0 ? args[0] : "Welt";
        for (int i = 1; i <= 3; i++)
        {
            System.out.println(i + ". Hallo, " + name + "!");
        }
        // Summe der Zahlen von 1 bis 100
        int summe = 0;
        for (int n = 1; n <= 100; n++)
            summe += n;
        System.out.println("Summe: " + summe);
    }
}
